#include "duplicatesview.h"

#include "cataloguesearch.h"
#include "gridtexts.h"

#include "catalogue/duplicategroups.h"
#include "utf8text.h"

std::optional<DuplicatesShown> showDuplicates(CatalogueStore &store, CatalogueModel &model,
                                              CollectionCounters &counters)
{
    const std::optional<QList<QList<qint64>>> groups = findDuplicates(store);
    DuplicatesShown shown;
    QList<qint64> keys;
    if (groups) {
        shown.groups = groups->size();
        for (const QList<qint64> &group : *groups)
            keys += group;
        shown.records = keys.size();
    }
    if (!CatalogueSearch::rebuild(store, model, counters, keys) || !groups)
        return std::nullopt;
    return shown;
}

QString duplicatesStatus(const DuplicatesShown &shown)
{
    if (shown.groups == 0)
        return text(GridTexts::kNoDuplicates);
    return text(shown.groups == 1 ? GridTexts::kDuplicatesOneGroup : GridTexts::kDuplicates)
        .arg(shown.groups)
        .arg(shown.records);
}
