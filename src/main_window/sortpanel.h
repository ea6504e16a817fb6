#pragma once

#include <QGroupBox>

class CatalogueModel;
class HoverController;
class QLabel;
class QPushButton;
class QRadioButton;

/// The "Ordinamento" frame of the main window (object name `Frame7`): ten sort options and the
/// sort command, which puts the grid's rows in the order of the option clicked last.
class SortPanel : public QGroupBox
{
    Q_OBJECT

public:
    /// The model and the hover controller outlive the panel. The sort command shows while the
    /// pointer is over the face and hides over the frame and its options.
    SortPanel(CatalogueModel &model, HoverController &hover, QWidget *parent = nullptr);

    /// Enables the sort command (there are two or more rows to sort) or disables it.
    void setSortable(bool sortable);

private:
    void runSort();

    CatalogueModel &m_model;
    int m_option = -1; ///< last sort option clicked, -1 for none

    QRadioButton *m_options[10] = {};    ///< `ordina_0..9`
    QPushButton *m_sortButton = nullptr; ///< `ordinamento`
    QLabel *m_sortFace = nullptr;        ///< `selordina`
};
