#include "tageditor.h"

#include "tageditortexts.h"

#include "playertransport.h"

#include "catalogue/recordcuts.h"
#include "grid/cataloguemodel.h"
#include "tags/genretable.h"
#include "widgets/accessiblecaption.h"
#include "widgets/backcolour.h"
#include "widgets/busycursor.h"
#include "widgets/keyboard.h"
#include "widgets/named.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using namespace TagEditorTexts;

// Text limits of the six text boxes by grid column: title, artist, album, year, genre text,
// comment.
constexpr int kTextLimits[6] = {
    RecordCuts::kTitle,  RecordCuts::kArtist, RecordCuts::kAlbum, RecordCuts::kYear, 4,
    RecordCuts::kComment};

QLabel *label(const char *caption, const char *name)
{
    return named(new QLabel(text(caption)), QString::fromLatin1(name));
}

} // namespace

TagEditor::TagEditor(CatalogueModel &grid, CatalogueStore &store, Dialogs &dialogs, Player *player,
                     QWidget *parent)
    // A dialog window is a transient of its parent: the window manager keeps it above the
    // main window, which stays above other programs' windows.
    : QWidget(parent, Qt::Dialog)
    , m_grid(grid)
    , m_dialogs(dialogs)
    , m_saver(grid, store, dialogs)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(text(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    m_saver.setBusyPointer(busyCursorPointer());

    m_saveButton = named(new QPushButton(text(kSave)), QStringLiteral("Command1"));
    m_cancelButton = named(new QPushButton(text(kCancel)), QStringLiteral("Command2"));
    m_saveButton->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildTagFrame());
    layout->addLayout(buttons);
    layout->addWidget(buildPlayerArea());

    for (QLineEdit *box : textEdits())
        connect(box, &QLineEdit::textChanged, this, &TagEditor::fieldsChanged);
    connect(m_saveButton, &QPushButton::clicked, this, &TagEditor::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);
    clickOnReturn(m_saveButton);
    clickOnReturn(m_cancelButton);
    // Esc is "Annulla", and like it does nothing while the player plays.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated,
            m_cancelButton, &QPushButton::click);

    // The transport drives the player area's controls; it stops playback and releases the file
    // when the window closes.
    if (player) {
        const PlayerControls controls{this,
                                      m_playerTitle,
                                      m_transportButtons[0],
                                      m_transportButtons[1],
                                      m_transportButtons[2],
                                      m_lamps[0],
                                      m_lamps[1],
                                      m_lamps[2],
                                      m_seekBar,
                                      m_volumeSlider,
                                      m_volumeText,
                                      m_lengthText,
                                      m_elapsedText,
                                      m_writeTagCheck,
                                      m_repeatCheck,
                                      m_saveButton,
                                      m_cancelButton,
                                      m_tickTimer};
        m_playerTransport = new PlayerTransport(*player, controls);
    }
    m_playerArea->setEnabled(player != nullptr);
    // Reading order: the tag fields, the save box, the commands, then the player row by row.
    setTabChain({m_titleEdit, m_artistEdit, m_albumEdit, m_yearEdit, m_commentEdit, m_genreChooser,
                 m_writeTagCheck, m_saveButton, m_cancelButton, m_repeatCheck,
                 m_transportButtons[0], m_transportButtons[1], m_transportButtons[2],
                 m_volumeSlider, m_seekBar});
    ScreenFit::resizeToFit(this, sizeHint());
}

TagEditor::~TagEditor() = default;

QGroupBox *TagEditor::buildTagFrame()
{
    auto *frame1 = named(new QGroupBox(text(kTagFrame)), QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame1);
    m_fileNameLabel = named(new QLabel, QStringLiteral("nfile"));
    // Never shown and never read: the record is kept in m_record.

    std::array<QLineEdit *, 6> edits;
    for (int c = Title; c <= Comment; ++c) {
        edits[c] = named(new QLineEdit, QStringLiteral("in1_%1").arg(c));
        edits[c]->setMaxLength(kTextLimits[c]);
    }
    m_titleEdit = edits[Title];
    m_artistEdit = edits[Artist];
    m_albumEdit = edits[Album];
    m_yearEdit = edits[Year];
    m_genreEdit = edits[Genre];
    m_commentEdit = edits[Comment];
    // The genre is chosen in the chooser; its text box is kept for its name, never shown.
    m_genreEdit->setParent(frame1);
    m_genreEdit->hide();
    m_genreChooser = named(new QComboBox, QStringLiteral("Combo1"));
    m_genreChooser->setEditable(true);
    m_genreChooser->setInsertPolicy(QComboBox::NoInsert);
    m_writeTagCheck = named(new QCheckBox(text(kSaveTag)), QStringLiteral("Check1"));

    struct Field
    {
        const char *caption;
        const char *name;
        QWidget *box;
    };
    const Field fields[] = {
        {kFileNameCaption, "Label1", m_fileNameLabel}, {kTitleCaption, "Label2", m_titleEdit},
        {kArtistCaption, "Label3", m_artistEdit},      {kAlbumCaption, "Label4_0", m_albumEdit},
        {kYearCaption, "Label4_1", m_yearEdit},        {kCommentCaption, "Label5", m_commentEdit},
        {kGenreCaption, "Label4_2", m_genreChooser}};
    int row = 0;
    for (const Field &field : fields) {
        QLabel *caption = label(field.caption, field.name);
        // A box takes its caption as its accessible name; the file name label shows its own.
        if (field.box == m_fileNameLabel)
            caption->setBuddy(field.box);
        else
            captionBy(caption, field.box);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field.box, row, 1);
        ++row;
    }
    grid->addWidget(m_writeTagCheck, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame1;
}

QFrame *TagEditor::buildPlayerArea()
{
    m_playerArea = named(new QFrame, QStringLiteral("mplay"));
    m_playerArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *grid = new QGridLayout(m_playerArea);

    m_playerTitle = label(kPlayerTitle, "p1");
    m_playerTitle->setEnabled(false);
    grid->addWidget(m_playerTitle, 0, 0, 1, 3);

    const QStyle::StandardPixmap icons[3] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause,
                                             QStyle::SP_MediaStop};
    const char *lamps[3] = {kPlayLamp, kPauseLamp, kStopLamp};
    for (int i = 0; i < 3; ++i) {
        const QString buttonName = QStringLiteral("p%1").arg(i + 2);
        m_transportButtons[i] = named(new QToolButton, buttonName);
        m_transportButtons[i]->setIcon(style()->standardIcon(icons[i]));
        // A picture button is read by the lamp below it.
        m_transportButtons[i]->setAccessibleName(text(lamps[i]));
        m_transportButtons[i]->setEnabled(false);
        // Grey until the transport knows whether the file can be played.
        setBackColour(m_transportButtons[i], QColor::fromRgb(PlayerTransport::kNotPlayableColour));
        m_lamps[i] = named(new QLabel(text(lamps[i])), QStringLiteral("p%1").arg(i + 5));
        m_lamps[i]->setEnabled(false);
        grid->addWidget(m_transportButtons[i], 1, i);
        grid->addWidget(m_lamps[i], 2, i);
    }

    m_seekBar = named(new QSlider(Qt::Horizontal), QStringLiteral("avanti"));
    m_seekBar->setAccessibleName(text(kSeekBar));
    m_seekBar->setRange(0, 0);
    grid->addWidget(m_seekBar, 3, 0, 1, 6);

    m_volumeSlider = named(new QSlider(Qt::Horizontal), QStringLiteral("Slider1"));
    m_volumeSlider->setRange(0, 100);
    m_volumeSlider->setValue(100);
    m_volumeText = label(kFullVolume, "vol");
    QLabel *volumeCaption = label(kVolumeCaption, "Label7");
    captionBy(volumeCaption, m_volumeSlider);
    grid->addWidget(volumeCaption, 1, 3);
    grid->addWidget(m_volumeSlider, 1, 4);
    grid->addWidget(m_volumeText, 1, 5);

    m_lengthText = named(new QLabel, QStringLiteral("durata"));
    m_elapsedText = label(kStartTime, "tempo");
    auto *lengthCaption = label(kLengthCaption, "Label6");
    lengthCaption->setBuddy(m_lengthText);
    grid->addWidget(lengthCaption, 2, 3);
    grid->addWidget(m_lengthText, 2, 4);
    grid->addWidget(m_elapsedText, 2, 5);

    m_repeatCheck = named(new QCheckBox(text(kRepeat)), QStringLiteral("Check2"));
    grid->addWidget(m_repeatCheck, 0, 3, 1, 3);

    m_tickTimer = named(new QTimer(m_playerArea), QStringLiteral("Timer1"));
    m_tickTimer->setInterval(PlayerTransport::kTickMs);
    return m_playerArea;
}

bool TagEditor::openRow(int row)
{
    if (row < 0 || row >= m_grid.recordCount())
        return false;
    m_genreChooser->clear();
    m_genreChooser->addItem(QString());
    m_genreChooser->addItems(genreNames());

    LoadIntoPlayer loadIntoPlayer;
    if (m_playerTransport) {
        m_playerTransport->initPlayer();
        loadIntoPlayer = [this](const QString &path, PlayerTransport::FileAccess access) {
            return m_playerTransport->loadFile(path, access) == PlayerTransport::Outcome::Playable;
        };
    }
    showLoadOutcome(runLoadStep(m_grid, row, m_dialogs, loadIntoPlayer));

    const std::optional<qint64> key = m_grid.key(row);
    m_record = {row, key.value_or(0), m_record.filePath};
    m_fileNameLabel->setText(m_grid.cell(row, FileName));
    for (int c = Title; c <= Comment; ++c)
        textEdits()[c]->setText(m_grid.cell(row, static_cast<Column>(c)));
    m_genreChooser->setCurrentText(m_grid.cell(row, Genre));
    if (!key)
        return false;
    show();
    raise();
    activateWindow();
    // Ready to type, whether opened by a double click or from the keyboard.
    m_titleEdit->setFocus(Qt::TabFocusReason);
    return true;
}

void TagEditor::showLoadOutcome(const LoadOutcome &outcome)
{
    m_record.filePath = outcome.filePath;
    // The player's transport has set the player area; the tag box follows the tag writing unless
    // the player withdrew it already.
    const bool tagWritable = outcome.tagWritable && (outcome.playable || !m_playerTransport);
    m_writeTagCheck->setEnabled(tagWritable);
    m_writeTagCheck->setChecked(tagWritable);
    if (!m_playerTransport) {
        m_playerTitle->setEnabled(outcome.reachable);
        for (QWidget *control :
             std::initializer_list<QWidget *>{m_seekBar, m_repeatCheck, m_volumeSlider})
            control->setEnabled(false);
        m_volumeSlider->setValue(0);
        m_volumeText->setText(text(kNoVolume));
    }
    if (!outcome.statusText.isEmpty())
        emit statusText(outcome.statusText);
}

void TagEditor::fieldsChanged()
{
    // Any change makes the record savable, as long as it keeps a title.
    m_saveButton->setEnabled(!m_titleEdit->text().isEmpty());
}

void TagEditor::save()
{
    EditorFields fields;
    fields.row = m_record.row;
    fields.genre = m_genreChooser->currentText();
    // The genre comes from the chooser; the hidden genre box is not read.
    for (int c = Title; c <= Comment; ++c)
        fields.texts[c] = c == Genre ? fields.genre : textEdits()[c]->text();
    fields.key = m_record.key;
    fields.filePath = m_record.filePath;
    m_saver.save(fields, m_writeTagCheck->isChecked() ? TagWriting::On : TagWriting::Off);
    close();
}

void TagEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_hasBeenActive = true;
    QWidget::changeEvent(event);
}

void TagEditor::closeEvent(QCloseEvent *event)
{
    if (QWidget *main = parentWidget())
        main->activateWindow();
    QWidget::closeEvent(event);
}
