#pragma once

// Captions, tool tips and messages of the main window and its wait window.

namespace MainWindowTexts {

inline constexpr char kCaption[] = "TRACKLODGE - Catalogo dei tuoi MP3";

/// Accessible name of the grid; screen readers read its cells by their column headers.
inline constexpr char kGridName[] = "Lista MP3";
inline constexpr char kGridToolTip[] = "Per cancellare, selezionare una sola riga e premere DEL";
inline constexpr char kStatusStart[] = "Versione 2.0";

inline constexpr char kRefresh[] = "Refresh Lista";
inline constexpr char kRefreshToolTip[] =
    "Legge il DB e aggiorna la Lista (da utilizzare per resettare una ricerca)";

inline constexpr char kSearchFrame[] = "Ricerca";
inline constexpr const char *kSearchOptions[5] = {"Ricerca per Titolo Brano", "Ricerca per Artista",
                                                  "Ricerca per Album", "Ricerca per Nome File",
                                                  "Ricerca per Genere"};
inline constexpr char kKey[] = "Chiave";
/// Accessible name of the genre chooser, which stands beside the search key for the genre search.
inline constexpr char kGenreKey[] = "Genere cercato";
/// Accessible name of the list of the keys found by the last search.
inline constexpr char kFoundKeys[] = "Chiavi trovate";
inline constexpr char kWholeField[] = "Ricerca in tutto il campo";
inline constexpr char kWholeFieldToolTip[] = "Cerca la parola all'interno del testo del campo";
inline constexpr char kStartSearch[] = "Avvia Ricerca";
inline constexpr char kStartSearchToolTip[] = "Ricerca nel DB in base alle preferenze";
/// The duplicates view, in the "Ricerca" frame.
inline constexpr char kDuplicates[] = "Doppioni";
inline constexpr char kDuplicatesToolTip[] =
    "Mostra solo i brani catalogati più di una volta: stesso titolo e artista, o stesso nome "
    "di file e dimensione (Refresh Lista li mostra tutti)";

inline constexpr char kSortFrame[] = "Ordinamento";
inline constexpr const char *kSortOptions[10] = {
    "Ordina per Titolo",   "Ordina per Artista",   "Ordina per Album",    "Ordina per Anno",
    "Ordina per Genere",   "Ordina per Nome File", "Ordina per Percorso", "Ordina per Info",
    "Ordina per Commento", "Ordina per Etichetta"};
inline constexpr char kStartSort[] = "Avvia Ordinamento";

inline constexpr char kDeleteFrame[] = "Cancellazione";
inline constexpr char kNoConfirm[] = "Senza Conferma";
inline constexpr char kDeleteFile[] = "Cancella anche il File";

inline constexpr char kInfoFrame[] = "Info Lista";
inline constexpr char kFound[] = "MP3 Presenti:";
inline constexpr char kWithTag[] = "MP3 con ID3";
inline constexpr char kWithoutTag[] = "MP3 Senza ID3";
inline constexpr char kCorrupt[] = "MP3 Errati:";
inline constexpr char kReadOnly[] = "MP3 solo Lettura";
inline constexpr char kOnCdRom[] = "MP3 su CDROM";
inline constexpr char kChangeAttributes[] = "Cambia Attributi";
inline constexpr char kChangeAttributesToolTip[] =
    "Modifica gli attributi dei file di Sola Lettura in Scrittura";

/// The export of the grid, in the "Info Lista" frame: an Excel workbook or a CSV file.
inline constexpr char kExportList[] = "Esporta Lista";
inline constexpr char kExportListToolTip[] =
    "Salva le righe mostrate nella Lista in una cartella di lavoro Excel o in un file CSV da "
    "aprire con un foglio di calcolo";
/// The media window, in the "Info Lista" frame.
inline constexpr char kMedia[] = "Supporti";
inline constexpr char kMediaToolTip[] =
    "Elenca i supporti (CD, dischi) del catalogo per rinominarli, mostrarli o eliminarli";
inline constexpr char kExportFileName[] = "Mp3Db.xlsx";
/// The file types of the export's file chooser; the first is chosen at first.
inline constexpr char kExportXlsxFilter[] = "Cartella di lavoro Excel (*.xlsx)";
inline constexpr char kExportCsvFilter[] = "CSV (*.csv)";
inline constexpr char kExportProgress[] = "Esportazione della Lista in corso...";
inline constexpr char kExportCancel[] = "Annulla";

inline constexpr char kImportFrame[] = "Importa MP3";
inline constexpr char kImport[] = "Importa";
inline constexpr char kImportToolTip[] =
    "Utilizzare questo pulsante per importare dal disco degli MP3 da aggiungere al DB";
/// Text of the import's progress. %1 files done, %2 files to do.
inline constexpr char kImportProgress[] = "Importazione degli MP3 in corso: %1 di %2";

inline constexpr char kWaitCaption[] = "ATTENDERE";
inline constexpr char kWaitLoading[] = "Caricamento DataBase in corso!!!";

inline constexpr char kLoadFailed[] = "Impossibile leggere il catalogo.\n%1";

} // namespace MainWindowTexts
