#include "catalogueview.h"

#include "mainwindowtexts.h"

#include "grid/cataloguemodel.h"

#include "utf8text.h"

#include <QHeaderView>

CatalogueView::CatalogueView(CatalogueModel &model, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("dati"));
    setModel(&model);
    setToolTip(text(MainWindowTexts::kGridToolTip));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // The arrow keys move within the grid; Tab moves on to the next control, as everywhere.
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    // Fixed row heights keep scrolling through a large catalogue cheap.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    connect(&model, &QAbstractItemModel::headerDataChanged, this,
            &CatalogueView::applyColumnWidths);
    connect(&model, &QAbstractItemModel::modelReset, this, &CatalogueView::applyColumnWidths);
    applyColumnWidths();
}

void CatalogueView::applyColumnWidths()
{
    // A column is as wide as its header label with the blanks after it, in the grid's font.
    const QFontMetrics metrics(horizontalHeader()->font());
    for (int c = 0; c < m_model.columnCount(); ++c)
        setColumnWidth(c, metrics.horizontalAdvance(m_model.headerCell(c)) + 8);
}
