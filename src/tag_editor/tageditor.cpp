#include "tageditor.h"

#include "tageditortexts.h"

#include "playertransport.h"

#include "catalogue/recordcuts.h"
#include "grid/cataloguemodel.h"
#include "main_window/accessiblecaption.h"
#include "main_window/screenfit.h"
#include "tags/genretable.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using namespace TagEditorTexts;

// Text limits of the six text boxes: title, artist, album, year, genre text, comment.
constexpr int kIn1Limits[6] = {
    RecordCuts::kTitle,  RecordCuts::kArtist, RecordCuts::kAlbum, RecordCuts::kYear, 4,
    RecordCuts::kComment};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel *label(const char *caption, const char *name)
{
    return named(new QLabel(text(caption)), QString::fromLatin1(name));
}

void setBackColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
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
    m_saver.setBusyPointer({[] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                            [] {
                                QApplication::restoreOverrideCursor();
                            }});

    m_command1 = named(new QPushButton(text(kSave)), QStringLiteral("Command1"));
    m_command2 = named(new QPushButton(text(kCancel)), QStringLiteral("Command2"));
    m_command1->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildTagFrame());
    layout->addLayout(buttons);
    layout->addWidget(buildPlayerArea());

    for (QLineEdit *box : m_in1)
        connect(box, &QLineEdit::textChanged, this, &TagEditor::fieldsChanged);
    connect(m_command1, &QPushButton::clicked, this, &TagEditor::save);
    connect(m_command2, &QPushButton::clicked, this, &QWidget::close);

    // The transport finds the player's controls by their names; it stops playback and releases
    // the file when the window closes.
    if (player)
        m_playerTransport = new PlayerTransport(*player, this);
    m_mplay->setEnabled(player != nullptr);
    ScreenFit::resizeToFit(this, sizeHint());
}

TagEditor::~TagEditor() = default;

QGroupBox *TagEditor::buildTagFrame()
{
    auto *frame1 = named(new QGroupBox(text(kTagFrame)), QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(frame1);
    m_nfile = named(new QLabel, QStringLiteral("nfile"));
    // Kept for the save, never shown.
    m_filename = named(new QLabel(frame1), QStringLiteral("filename"));
    m_id = named(new QLabel(frame1), QStringLiteral("id"));
    m_row = named(new QLabel(frame1), QStringLiteral("row"));
    for (QLabel *hidden : {m_filename, m_id, m_row})
        hidden->hide();

    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("in1_%1").arg(i);
        m_in1[i] = named(new QLineEdit, name);
        m_in1[i]->setMaxLength(kIn1Limits[i]);
    }
    m_in1[4]->setParent(frame1);
    m_in1[4]->hide();
    m_combo1 = named(new QComboBox, QStringLiteral("Combo1"));
    m_combo1->setEditable(true);
    m_combo1->setInsertPolicy(QComboBox::NoInsert);
    m_check1 = named(new QCheckBox(text(kSaveTag)), QStringLiteral("Check1"));

    struct Field
    {
        const char *caption;
        const char *name;
        QWidget *box;
    };
    const Field fields[] = {
        {kFileNameCaption, "Label1", m_nfile}, {kTitleCaption, "Label2", m_in1[0]},
        {kArtistCaption, "Label3", m_in1[1]},  {kAlbumCaption, "Label4_0", m_in1[2]},
        {kYearCaption, "Label4_1", m_in1[3]},  {kGenreCaption, "Label4_2", m_combo1},
        {kCommentCaption, "Label5", m_in1[5]}};
    int row = 0;
    for (const Field &field : fields) {
        QLabel *caption = label(field.caption, field.name);
        // A box takes its caption as its accessible name; the file name label shows its own.
        if (field.box == m_nfile)
            caption->setBuddy(field.box);
        else
            captionBy(caption, field.box);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field.box, row, 1);
        ++row;
    }
    grid->addWidget(m_check1, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame1;
}

QFrame *TagEditor::buildPlayerArea()
{
    m_mplay = named(new QFrame, QStringLiteral("mplay"));
    m_mplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *grid = new QGridLayout(m_mplay);

    m_p1 = label(kPlayerTitle, "p1");
    m_p1->setEnabled(false);
    grid->addWidget(m_p1, 0, 0, 1, 3);

    const QStyle::StandardPixmap icons[3] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause,
                                             QStyle::SP_MediaStop};
    const char *lamps[3] = {kPlayLamp, kPauseLamp, kStopLamp};
    for (int i = 0; i < 3; ++i) {
        const QString buttonName = QStringLiteral("p%1").arg(i + 2);
        m_transport[i] = named(new QToolButton, buttonName);
        m_transport[i]->setIcon(style()->standardIcon(icons[i]));
        // A picture button is read by the lamp below it.
        m_transport[i]->setAccessibleName(text(lamps[i]));
        m_transport[i]->setEnabled(false);
        // Grey until the transport knows whether the file can be played.
        setBackColour(m_transport[i], QColor::fromRgb(PlayerTransport::kNotPlayableColour));
        m_lamps[i] = named(new QLabel(text(lamps[i])), QStringLiteral("p%1").arg(i + 5));
        m_lamps[i]->setEnabled(false);
        grid->addWidget(m_transport[i], 1, i);
        grid->addWidget(m_lamps[i], 2, i);
    }

    m_avanti = named(new QSlider(Qt::Horizontal), QStringLiteral("avanti"));
    m_avanti->setAccessibleName(text(kSeekBar));
    m_avanti->setRange(0, 0);
    grid->addWidget(m_avanti, 3, 0, 1, 6);

    m_slider1 = named(new QSlider(Qt::Horizontal), QStringLiteral("Slider1"));
    m_slider1->setRange(0, 100);
    m_slider1->setValue(100);
    m_vol = label(kFullVolume, "vol");
    QLabel *label7 = label(kVolumeCaption, "Label7");
    captionBy(label7, m_slider1);
    grid->addWidget(label7, 1, 3);
    grid->addWidget(m_slider1, 1, 4);
    grid->addWidget(m_vol, 1, 5);

    m_durata = named(new QLabel, QStringLiteral("durata"));
    m_tempo = label(kStartTime, "tempo");
    auto *label6 = label(kLengthCaption, "Label6");
    label6->setBuddy(m_durata);
    grid->addWidget(label6, 2, 3);
    grid->addWidget(m_durata, 2, 4);
    grid->addWidget(m_tempo, 2, 5);

    m_check2 = named(new QCheckBox(text(kRepeat)), QStringLiteral("Check2"));
    grid->addWidget(m_check2, 0, 3, 1, 3);

    m_timer1 = named(new QTimer(m_mplay), QStringLiteral("Timer1"));
    m_timer1->setInterval(PlayerTransport::kTickMs);
    return m_mplay;
}

bool TagEditor::openRow(int row)
{
    if (row < 0 || row >= m_grid.recordCount())
        return false;
    m_combo1->clear();
    m_combo1->addItem(QString());
    m_combo1->addItems(genreNames());

    LoadIntoPlayer loadIntoPlayer;
    if (m_playerTransport) {
        m_playerTransport->initPlayer();
        loadIntoPlayer = [this](const QString &path, PlayerTransport::FileAccess access) {
            return m_playerTransport->loadFile(path, access) == PlayerTransport::Outcome::Playable;
        };
    }
    showLoadOutcome(runLoadStep(m_grid, row, m_dialogs, loadIntoPlayer));

    m_row->setText(QString::number(row));
    m_nfile->setText(m_grid.cell(row, FileName));
    for (int c = Title; c <= Comment; ++c)
        m_in1[c]->setText(m_grid.cell(row, static_cast<Column>(c)));
    m_combo1->setCurrentText(m_grid.cell(row, Genre));
    m_id->setText(m_grid.cell(row, Key));
    if (!m_grid.key(row))
        return false;
    show();
    raise();
    activateWindow();
    return true;
}

void TagEditor::showLoadOutcome(const LoadOutcome &outcome)
{
    m_filename->setText(outcome.filePath);
    // The player's transport has set the player area; Check1 follows the tag writing unless the
    // player withdrew it already.
    const bool tagWritable = outcome.tagWritable && (outcome.playable || !m_playerTransport);
    m_check1->setEnabled(tagWritable);
    m_check1->setChecked(tagWritable);
    if (!m_playerTransport) {
        m_p1->setEnabled(outcome.reachable);
        for (QWidget *control : std::initializer_list<QWidget *>{m_avanti, m_check2, m_slider1})
            control->setEnabled(false);
        m_slider1->setValue(0);
        m_vol->setText(text(kNoVolume));
    }
    if (!outcome.statusText.isEmpty())
        emit statusText(outcome.statusText);
}

void TagEditor::fieldsChanged()
{
    // Any change makes the record savable, as long as it keeps a title.
    m_command1->setEnabled(!m_in1[0]->text().isEmpty());
}

void TagEditor::save()
{
    EditorFields fields;
    fields.row = m_row->text().toInt();
    for (int i = 0; i < 6; ++i)
        fields.in1[i] = m_in1[i]->text();
    fields.genre = m_combo1->currentText();
    fields.key = m_id->text();
    fields.filePath = m_filename->text();
    m_saver.save(fields, m_check1->isChecked() ? TagWriting::On : TagWriting::Off);
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
