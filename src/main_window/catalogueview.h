#pragma once

#include <QTableView>

class CatalogueModel;

/// The catalogue grid as the main window shows it (object name `dati`): whole rows selected,
/// nothing edited in place, every column as wide as its header cell.
class CatalogueView : public QTableView
{
    Q_OBJECT

public:
    /// A view of `model`, which outlives it.
    explicit CatalogueView(CatalogueModel &model, QWidget *parent = nullptr);

private:
    void applyColumnWidths();

    CatalogueModel &m_model;
};
