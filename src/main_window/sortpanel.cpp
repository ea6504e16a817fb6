#include "sortpanel.h"

#include "hovercommand.h"
#include "mainwindowtexts.h"

#include "grid/gridsort.h"

#include "widgets/busycursor.h"
#include "widgets/named.h"

#include "utf8text.h"

#include <QGridLayout>
#include <QRadioButton>

using namespace MainWindowTexts;

SortPanel::SortPanel(CatalogueModel &model, HoverController &hover, QWidget *parent)
    : QGroupBox(text(kSortFrame), parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("Frame7"));
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 10; ++i) {
        m_options[i] =
            named(new QRadioButton(text(kSortOptions[i])), QStringLiteral("ordina_%1").arg(i));
        grid->addWidget(m_options[i], i % 5, i / 5);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { m_option = i; });
    }
    m_sortButton = named(new QPushButton(text(kStartSort)), QStringLiteral("ordinamento"));
    m_sortFace = named(new QLabel(text(kStartSort)), QStringLiteral("selordina"));
    grid->addWidget(hoverCommand(hover, m_sortButton, m_sortFace), 5, 0, 1, 2);
    connect(m_sortButton, &QPushButton::clicked, this, &SortPanel::runSort);

    hover.addRule(this, m_sortButton, HoverController::Effect::Hide);
    for (QRadioButton *option : m_options)
        hover.addRule(option, m_sortButton, HoverController::Effect::Hide);
}

void SortPanel::setSortable(bool sortable)
{
    m_sortButton->setEnabled(sortable);
    m_sortFace->setEnabled(sortable);
}

void SortPanel::runSort()
{
    const BusyCursor busy;
    GridSort::sortRows(m_model, GridSort::columnOfOption(m_option));
}
