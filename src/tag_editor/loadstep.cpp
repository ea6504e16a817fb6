#include "loadstep.h"

#include "tageditortexts.h"

#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"

#include "utf8text.h"

#include <optional>

namespace {

using namespace TagEditorTexts;

bool is(const QString &state, const char *word)
{
    return state == QLatin1String(word);
}

} // namespace

LoadOutcome runLoadStep(CatalogueModel &grid, int row, Dialogs &dialogs,
                        const LoadIntoPlayer &loadIntoPlayer)
{
    CatalogueRecord record = grid.record(row);
    const QString &state = record.info;
    const QString &label = record.labelD;
    LoadOutcome outcome;
    outcome.filePath = resolveRecordFile(record.percorso, record.nome);

    // The file is opened at most once, and not at all for a record already known as corrupt.
    std::optional<bool> opens;
    const auto fileOpens = [&] {
        if (!opens)
            opens = opensForReading(outcome.filePath);
        return *opens;
    };
    bool unusable = false;
    if (is(state, StateWords::kReadOnly) || is(state, StateWords::kCdRom) ||
        is(state, StateWords::kCorrupt)) {
        // Shown whether or not the disc is in the drive: the tag can never be written there.
        if (is(state, StateWords::kCdRom))
            dialogs.information(QString(), text(kAttention) + u'\n' + text(kCdMissing) +
                                               label.toUpper() + text(kNotInserted) +
                                               text(kCannotListen));
        outcome.tagWritable = false;
        unusable = is(state, StateWords::kCorrupt) || !fileOpens();
    }
    if (is(state, StateWords::kRemovable) && !fileOpens()) {
        unusable = true;
        if (!label.isEmpty())
            dialogs.information(QString(), text(kAttention) + u'\n' + text(kMedium) +
                                               label.toUpper() + text(kNotInserted) +
                                               text(kCannotSaveOrListen));
        else
            dialogs.information(QString(), text(kAttention) + u'\n' + text(kMediumNotInserted) +
                                               u'\n' + text(kCannotSaveOrListenNoLabel));
        outcome.tagWritable = false;
    }
    if (!unusable && !fileOpens()) {
        dialogs.information(text(kFileGoneTitle), text(kFileGone));
        unusable = true;
    }
    outcome.reachable = !unusable;

    if (loadIntoPlayer) {
        using Access = FileAccess;
        outcome.playable = loadIntoPlayer(
            outcome.filePath, outcome.reachable ? Access::Reachable : Access::Unreachable);
    }
    if (outcome.playable || (outcome.reachable && !loadIntoPlayer))
        return outcome;

    // Unreachable, or a player that cannot decode the file: the record is marked in the grid
    // (the catalogue keeps its word until the record is saved).
    outcome.tagWritable = false;
    outcome.markedCorrupt = true;
    outcome.statusText = text(kCorruptStatus);
    record.info = QString::fromLatin1(StateWords::kCorrupt);
    grid.setRecord(row, record);
    return outcome;
}
