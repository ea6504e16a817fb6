#pragma once

class CatalogueModel;
class Dialogs;
class QWidget;

/// "Esporta Lista": asks for a file through `dialogs`, offering an Excel workbook (chosen at
/// first) and a CSV file, and writes the rows `model` shows into it in the type chosen
/// (XlsxExport or CsvExport), with a progress dialog above `parent` while a long export runs
/// (its "Annulla" stops it, leaving no file); tells of a failed write. Nothing happens when no
/// file is chosen.
void exportGrid(const CatalogueModel &model, Dialogs &dialogs, QWidget *parent);
