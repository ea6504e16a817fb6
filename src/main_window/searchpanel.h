#pragma once

#include <QGroupBox>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;
class HoverController;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

/// The "Ricerca" frame of the main window (object name `Ricerca`): the five search options, the
/// key (a text, or a genre for the genre search), the whole-field check, the search command and
/// the list of the keys found. A search narrows the grid to the records that match.
class SearchPanel : public QGroupBox
{
    Q_OBJECT

public:
    /// The store, model, counters, dialogs and hover controller outlive the panel.
    SearchPanel(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                Dialogs &dialogs, HoverController &hover, QWidget *parent = nullptr);

    /// The search command `Command1`, for the main window's hover rules.
    QPushButton *searchButton() const { return m_searchButton; }
    /// The panel's controls in reading order, for the window's Tab chain: the options, the key,
    /// the genre chooser, the whole-field check, the command's face and button, the keys found,
    /// "Doppioni".
    QList<QWidget *> tabChain() const;
    /// Empties the list of the keys found, once the grid shows something else.
    void clearFoundKeys();

signals:
    /// A search starts: the grid is about to show only the records found.
    void searchStarted();
    /// "Doppioni" was pressed: the grid is to show the records catalogued more than once.
    void duplicatesRequested();

private:
    void optionClicked(int index);
    void textChanged(const QString &text);
    void runSearch();
    void setSearchEnabled(bool enabled);

    CatalogueStore &m_store;
    CatalogueModel &m_model;
    CollectionCounters &m_counters;
    Dialogs &m_dialogs;
    int m_option = -1; ///< last search option clicked, -1 for none

    QRadioButton *m_options[5] = {};           ///< `Option1_0..4`
    QLineEdit *m_textEdit = nullptr;           ///< `Text1`
    QComboBox *m_genreChooser = nullptr;       ///< `Combo1`
    QCheckBox *m_inFieldCheck = nullptr;       ///< `Check1`, "Ricerca in tutto il campo"
    QPushButton *m_searchButton = nullptr;     ///< `Command1`
    QLabel *m_searchFace = nullptr;            ///< `cerca`
    QListWidget *m_foundKeysList = nullptr;    ///< `List3`
    QPushButton *m_duplicatesButton = nullptr; ///< `Doppioni`
};
