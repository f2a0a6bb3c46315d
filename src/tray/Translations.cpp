// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// Qt's catalogue also translates the error texts of files, sockets and processes, and those end
// up in console lines; only the contexts of the widgets and dialogs the user sees are taken.
class QtWidgetTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        static const QByteArrayList shown {"QPlatformTheme",
                                           "QGnomeTheme",
                                           "QDialogButtonBox",
                                           "QMessageBox",
                                           "QDialog",
                                           "QFileDialog",
                                           "QFileSystemModel",
                                           "QAbstractFileIconProvider",
                                           "QColorDialog",
                                           "QAbstractSpinBox",
                                           "QComboBox",
                                           "QLineEdit",
                                           "QWidgetTextControl",
                                           "QUnicodeControlCharacterMenu",
                                           "QScrollBar",
                                           "QShortcut",
                                           "QAccessibleActionInterface",
                                           "QSpiAccessibleBridge",
                                           "QDBusTrayIcon"};
        if (!context || !shown.contains(QByteArrayView(context)))
            return {};
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

const QString resourceFolder = QStringLiteral(":/i18n");
} // namespace

Translations::Translations(const QLocale &locale, QObject *parent)
    : QObject(parent)
{
    // The user's languages in their order of preference; English needs no translation, and a
    // language after it is one the user reads less well.
    auto *own = new QTranslator(this);
    QLocale chosen;
    for (const QString &name : locale.uiLanguages()) {
        const QLocale candidate(name);
        if (candidate.language() == QLocale::English || candidate.language() == QLocale::C)
            return;
        if (own->load(candidate, QStringLiteral("jotshelf"), QStringLiteral("_"), resourceFolder)) {
            chosen = candidate;
            break;
        }
    }
    if (own->isEmpty())
        return;
    QCoreApplication::installTranslator(own);
    m_language = own->language();

    // Qt's standard buttons ("OK", "Save"), file and colour dialogs, editing menus and key names
    // ("Ctrl") in the same language, where the system has Qt's translations.
    auto *qt = new QtWidgetTranslator(this);
    if (qt->load(chosen, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}
