#pragma once

#include "loadstep.h"
#include "tagsaver.h"

#include <QWidget>

#include <array>

class CatalogueModel;
class CatalogueStore;
class Dialogs;
class Player;
class PlayerTransport;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

/// The tag editor window (object name `Form2`, caption "Modifica ID3"): one grid row's tag fields
/// to edit and save, and the player area. It is wiring and display: the load step (runLoadStep) and
/// the save (TagSaver) do the work. Give it a parent window to keep it above that window; it
/// deletes itself when closed.
class TagEditor : public QWidget
{
    Q_OBJECT

public:
    /// An editor over the main window's grid and catalogue. `player` plays the record's file,
    /// driven by the player area's controls; a null pointer stands for a program without audio,
    /// and the player area then stays disabled. Grid, store, dialogs and player outlive the
    /// window.
    TagEditor(CatalogueModel &grid, CatalogueStore &store, Dialogs &dialogs,
              Player *player = nullptr, QWidget *parent = nullptr);
    ~TagEditor() override;

    /// Opens grid row `row` (the grid double click): fills the genre chooser with an empty entry
    /// and the 148 genre names, runs the load step for the row, copies its cells into the
    /// fields, and shows the window when the row's key is not empty. Returns whether the
    /// window was shown; a row outside the grid opens nothing.
    bool openRow(int row);

    /// True once the window has been the active window since it was shown. The main window
    /// closes the editor when it becomes active only after that, so the activation that follows
    /// a message of the load step does not close an editor that is just opening.
    bool hasBeenActive() const { return m_hasBeenActive; }

signals:
    /// The main window's status line is to show `text` (the load step found the record
    /// unplayable).
    void statusText(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *buildTagFrame();
    QFrame *buildPlayerArea();
    void showLoadOutcome(const LoadOutcome &outcome);
    void fieldsChanged();
    void save();

    CatalogueModel &m_grid;
    Dialogs &m_dialogs;
    PlayerTransport *m_playerTransport = nullptr;
    TagSaver m_saver;
    bool m_hasBeenActive = false;

    /// The record the window edits.
    struct OpenRecord
    {
        int row = -1;     ///< its grid row when opened
        qint64 key = 0;   ///< its key
        QString filePath; ///< its file, as the load step found it
    };
    OpenRecord m_record;

    /// The six text boxes by grid column, Title to Comment.
    std::array<QLineEdit *, 6> textEdits() const
    {
        return {m_titleEdit, m_artistEdit, m_albumEdit, m_yearEdit, m_genreEdit, m_commentEdit};
    }

    // The controls, by what they are; each keeps its own name as its objectName.
    QLabel *m_fileNameLabel = nullptr;     ///< `nfile`
    QLineEdit *m_titleEdit = nullptr;      ///< `in1_0`
    QLineEdit *m_artistEdit = nullptr;     ///< `in1_1`
    QLineEdit *m_albumEdit = nullptr;      ///< `in1_2`
    QLineEdit *m_yearEdit = nullptr;       ///< `in1_3`
    QLineEdit *m_genreEdit = nullptr;      ///< `in1_4`, hidden: the chooser takes its place
    QLineEdit *m_commentEdit = nullptr;    ///< `in1_5`
    QComboBox *m_genreChooser = nullptr;   ///< `Combo1`
    QCheckBox *m_writeTagCheck = nullptr;  ///< `Check1`, "Salva il TAG nel File MP3"
    QPushButton *m_saveButton = nullptr;   ///< `Command1`
    QPushButton *m_cancelButton = nullptr; ///< `Command2`
    QFrame *m_playerArea = nullptr;        ///< `mplay`
    QLabel *m_playerTitle = nullptr;       ///< `p1`
    std::array<QToolButton *, 3> m_transportButtons = {}; ///< p2, p3, p4: play, pause, stop
    std::array<QLabel *, 3> m_lamps = {};                 ///< p5, p6, p7: PLAY, PAUSA, STOP
    QSlider *m_seekBar = nullptr;                         ///< `avanti`
    QSlider *m_volumeSlider = nullptr;                    ///< `Slider1`
    QLabel *m_volumeText = nullptr;                       ///< `vol`
    QLabel *m_lengthText = nullptr;                       ///< `durata`
    QLabel *m_elapsedText = nullptr;                      ///< `tempo`
    QCheckBox *m_repeatCheck = nullptr;                   ///< `Check2`
    QTimer *m_tickTimer = nullptr;                        ///< `Timer1`
};
