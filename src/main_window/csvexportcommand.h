#pragma once

class CatalogueModel;
class Dialogs;
class QWidget;

/// "Esporta CSV": asks for a file through `dialogs`, writes the rows `model` shows into it
/// (CsvExport), with a progress dialog above `parent` while a long export runs (its "Annulla"
/// stops it, leaving no file), and tells of a failed write. Nothing happens when no file is
/// chosen.
void exportGridAsCsv(const CatalogueModel &model, Dialogs &dialogs, QWidget *parent);
