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

/// The tag editor window `Form2` ("Modifica ID3"): one grid row's tag fields to edit and save,
/// and the player area. It is wiring and display: the load step (runLoadStep) and the save
/// (TagSaver) do the work. Give it a parent window to keep it above that window; it deletes
/// itself when closed.
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

    QLabel *m_nfile = nullptr;
    QLabel *m_filename = nullptr;
    QLabel *m_id = nullptr;
    QLabel *m_row = nullptr;
    std::array<QLineEdit *, 6> m_in1 = {};
    QComboBox *m_combo1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QFrame *m_mplay = nullptr;
    QLabel *m_p1 = nullptr;
    std::array<QToolButton *, 3> m_transport = {}; ///< p2, p3, p4: play, pause, stop
    std::array<QLabel *, 3> m_lamps = {};          ///< p5, p6, p7: PLAY, PAUSA, STOP
    QSlider *m_avanti = nullptr;
    QSlider *m_slider1 = nullptr;
    QLabel *m_vol = nullptr;
    QLabel *m_durata = nullptr;
    QLabel *m_tempo = nullptr;
    QCheckBox *m_check2 = nullptr;
    QTimer *m_timer1 = nullptr;
};
