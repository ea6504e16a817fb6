#pragma once

class QCoreApplication;

/// Installs Qt's own Italian translation (standard buttons read "Sì", "No", "OK"). False when
/// the translation files are not installed; the program then goes on in English buttons.
bool installItalianQtTranslation(QCoreApplication &app);
