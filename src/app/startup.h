#pragma once

class QApplication;
class QTranslator;
class QString;

/// Registers the compiled-in pictures, style sheet and catalogues (the GUI library is static).
void initTiltResources();

/// Installs the catalogue chosen last time ("EN" English, anything else Chinese) and returns
/// the translator, which stays installed for the life of the process.
QTranslator *installStartupTranslator(QApplication &app);

/// Applies the compiled-in style sheet; without it the program runs unstyled.
void applyStyleSheet(QApplication &app);

/// The settings store of the language choice.
QString languageKey();
