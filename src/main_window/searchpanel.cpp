#include "searchpanel.h"

#include "hovercommand.h"
#include "mainwindowtexts.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "inspection/collectioncounters.h"
#include "platform/dialogs.h"
#include "tags/genretable.h"

#include "widgets/accessiblecaption.h"
#include "widgets/busycursor.h"
#include "widgets/named.h"

#include "utf8text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace MainWindowTexts;

SearchPanel::SearchPanel(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                         Dialogs &dialogs, HoverController &hover, QWidget *parent)
    : QGroupBox(text(kSearchFrame), parent)
    , m_store(store)
    , m_model(model)
    , m_counters(counters)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Ricerca"));
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 5; ++i) {
        m_options[i] =
            named(new QRadioButton(text(kSearchOptions[i])), QStringLiteral("Option1_%1").arg(i));
        grid->addWidget(m_options[i], i, 0);
    }
    auto *keyCaption = named(new QLabel(text(kKey)), QStringLiteral("Label1"));
    m_textEdit = named(new QLineEdit, QStringLiteral("Text1"));
    captionBy(keyCaption, m_textEdit);
    m_genreChooser = named(new QComboBox, QStringLiteral("Combo1"));
    m_genreChooser->setAccessibleName(text(kGenreKey));
    m_genreChooser->addItem(QString());
    m_genreChooser->addItems(genreNames());
    m_inFieldCheck = named(new QCheckBox(text(kWholeField)), QStringLiteral("Check1"));
    m_inFieldCheck->setToolTip(text(kWholeFieldToolTip));
    m_searchButton = named(new QPushButton(text(kStartSearch)), QStringLiteral("Command1"));
    m_searchButton->setToolTip(text(kStartSearchToolTip));
    m_searchFace = named(new QLabel(text(kStartSearch)), QStringLiteral("cerca"));
    auto *foundFrame = named(new QGroupBox, QStringLiteral("Frame10"));
    m_foundKeysList = named(new QListWidget, QStringLiteral("List3"));
    m_foundKeysList->setAccessibleName(text(kFoundKeys));
    (new QVBoxLayout(foundFrame))->addWidget(m_foundKeysList);

    grid->addWidget(keyCaption, 0, 1);
    grid->addWidget(m_textEdit, 1, 1);
    grid->addWidget(m_genreChooser, 2, 1);
    grid->addWidget(m_inFieldCheck, 3, 1);
    grid->addWidget(hoverCommand(hover, m_searchButton, m_searchFace), 4, 1);
    grid->addWidget(foundFrame, 0, 2, 5, 1);
    m_duplicatesButton = named(new QPushButton(text(kDuplicates)), QStringLiteral("Doppioni"));
    m_duplicatesButton->setToolTip(text(kDuplicatesToolTip));
    m_duplicatesButton->setAutoDefault(true);
    grid->addWidget(m_duplicatesButton, 5, 0);
    connect(m_duplicatesButton, &QPushButton::clicked, this, &SearchPanel::duplicatesRequested);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    for (int i = 0; i < 5; ++i)
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { optionClicked(i); });
    connect(m_textEdit, &QLineEdit::textChanged, this, &SearchPanel::textChanged);
    connect(m_textEdit, &QLineEdit::returnPressed, this, &SearchPanel::runSearch);
    connect(m_searchButton, &QPushButton::clicked, this, &SearchPanel::runSearch);
    // The genre chooser appears with the genre search; until something is typed or the genre
    // search is chosen there is nothing to search for.
    m_genreChooser->hide();
    setSearchEnabled(false);
}

QList<QWidget *> SearchPanel::tabChain() const
{
    QList<QWidget *> chain(std::begin(m_options), std::end(m_options));
    return chain << m_textEdit << m_genreChooser << m_inFieldCheck << m_searchFace << m_searchButton
                 << m_foundKeysList << m_duplicatesButton;
}

void SearchPanel::setSearchEnabled(bool enabled)
{
    m_searchFace->setEnabled(enabled);
    m_searchButton->setEnabled(enabled);
}

void SearchPanel::optionClicked(int index)
{
    m_option = index;
    if (CatalogueSearch::columnOfOption(index) == Genre) {
        m_searchButton->show();
        setSearchEnabled(true);
        m_genreChooser->show();
        m_textEdit->show();
        m_inFieldCheck->setChecked(false);
        m_inFieldCheck->setEnabled(false);
        return;
    }
    if (m_textEdit->text().isEmpty()) {
        m_searchButton->hide();
        setSearchEnabled(false);
    }
    m_genreChooser->hide();
    m_textEdit->show();
    m_inFieldCheck->setChecked(false);
    m_inFieldCheck->setEnabled(true);
}

void SearchPanel::textChanged(const QString &typed)
{
    if (!typed.isEmpty() && m_counters.value(CollectionCounters::Counter::Found) > 0) {
        setSearchEnabled(true);
        return;
    }
    // Nothing can be typed while the grid shows no record.
    setSearchEnabled(false);
    m_textEdit->clear();
}

void SearchPanel::clearFoundKeys()
{
    m_foundKeysList->clear();
}

void SearchPanel::runSearch()
{
    m_searchButton->setEnabled(false);
    emit searchStarted();
    CatalogueSearch::Request request;
    request.column = CatalogueSearch::columnOfOption(m_option);
    request.text = request.column == Genre ? m_genreChooser->currentText() : m_textEdit->text();
    request.wordSearch = m_inFieldCheck->isChecked();
    bool rebuilt = false;
    {
        const BusyCursor busy;
        const QList<qint64> keys = CatalogueSearch::matchingKeys(m_model, request);
        QStringList keyTexts;
        keyTexts.reserve(keys.size());
        for (const qint64 key : keys)
            keyTexts << QString::number(key);
        m_foundKeysList->clear();
        m_foundKeysList->addItems(keyTexts);
        rebuilt = CatalogueSearch::rebuild(m_store, m_model, m_counters, keys);
    }
    m_searchButton->setEnabled(true);
    if (!rebuilt)
        m_dialogs.critical(QString(), text(kLoadFailed).arg(m_store.lastError()));
}
