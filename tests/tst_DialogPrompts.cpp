// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/DialogPrompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs \a answer on the next modal dialog as soon as it is up.
template<typename Dialog>
void whenShown(std::function<void(Dialog *)> answer)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
        // A failed check returns early: the dialog must not stay up and hang the test.
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

QAbstractButton *buttonNamed(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class tst_DialogPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void confirmationAsksWithAWarning();
    void confirmationAnswers_data();
    void confirmationAnswers();
    void exportDialogProposesNotesTxtInHome();
    void exportDialogCancelled();
    void errorIsAWarning();

private:
    QTemporaryDir m_home;
};

void tst_DialogPrompts::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
}

void tst_DialogPrompts::confirmationAsksWithAWarning()
{
    DialogPrompts prompts;
    bool checked = false;
    whenShown<QMessageBox>([&checked](QMessageBox *box) {
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->text(), QStringLiteral("Clear All Data?"));
        QCOMPARE(box->informativeText(),
                 QStringLiteral("This will permanently delete all notes and reset settings to "
                                "defaults. This action cannot be undone."));
        QCOMPARE(box->buttons().size(), 2);
        QAbstractButton *clearAll = buttonNamed(box, QStringLiteral("Clear All"));
        QAbstractButton *cancel = buttonNamed(box, QStringLiteral("Cancel"));
        QVERIFY(clearAll && cancel);
        // What cannot be undone is not what Return gives: Cancel is the default and focused.
        QCOMPARE(static_cast<QAbstractButton *>(box->defaultButton()), cancel);
        QTRY_COMPARE(QApplication::focusWidget(), cancel);
        QCOMPARE(box->buttonRole(clearAll), QMessageBox::DestructiveRole);
        QCOMPARE(box->buttonRole(cancel), QMessageBox::RejectRole);
        QCOMPARE(box->escapeButton(), cancel);
        // Close only, and wide enough that the explanation reads on at most three lines.
        QVERIFY(
            !(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(box->windowFlags() & Qt::WindowCloseButtonHint);
        auto *informative = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
        QVERIFY(informative);
        QVERIFY2(informative->height() <= 3 * informative->fontMetrics().lineSpacing() + 4,
                 qPrintable(QStringLiteral("%1 px high").arg(informative->height())));
        checked = true;
        cancel->click();
    });
    QVERIFY(!prompts.confirmClearAll(nullptr));
    QVERIFY(checked);
}

void tst_DialogPrompts::confirmationAnswers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("Clear All") << QStringLiteral("Clear All") << true;
    QTest::newRow("Cancel") << QStringLiteral("Cancel") << false;
    QTest::newRow("Return takes the default") << QStringLiteral("Return") << false;
    QTest::newRow("Escape cancels") << QStringLiteral("Escape") << false;
}

void tst_DialogPrompts::confirmationAnswers()
{
    QFETCH(QString, action);
    QFETCH(bool, confirmed);
    DialogPrompts prompts;
    whenShown<QMessageBox>([action](QMessageBox *box) {
        if (action == QLatin1String("Return"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (action == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            buttonNamed(box, action)->click();
    });
    QCOMPARE(prompts.confirmClearAll(nullptr), confirmed);
}

void tst_DialogPrompts::exportDialogProposesNotesTxtInHome()
{
    DialogPrompts prompts;
    const QString chosen = m_home.filePath(QStringLiteral("mine.txt"));
    // The settings window it belongs to is dark: so is the dialog, down to its name field.
    QWidget settings;
    QPalette dark = settings.palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    settings.setPalette(dark);
    bool checked = false;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export Notes"));
        QCOMPARE(dialog->nameFilters(), QStringList({QStringLiteral("Text files (*.txt)")}));
        QCOMPARE(dialog->directory().absolutePath(), QDir(m_home.path()).absolutePath());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("notes.txt"));
        QCOMPARE(name->palette().color(QPalette::Base), QColor(0x1e, 0x1e, 0x1e));
        checked = true;
        name->setText(QStringLiteral("mine.txt"));
        static_cast<QDialog *>(dialog)->accept();
    });
    QCOMPARE(prompts.chooseExportFile(&settings), chosen);
    QVERIFY(checked);
}

void tst_DialogPrompts::exportDialogCancelled()
{
    DialogPrompts prompts;
    whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    QCOMPARE(prompts.chooseExportFile(nullptr), QString());
}

void tst_DialogPrompts::errorIsAWarning()
{
    DialogPrompts prompts;
    bool checked = false;
    whenShown<QMessageBox>([&checked](QMessageBox *box) {
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->windowTitle(), QStringLiteral("Export Failed"));
        QCOMPARE(box->text(), QStringLiteral("Could not write /x/notes.txt"));
        checked = true;
        box->accept();
    });
    prompts.showError(nullptr, QStringLiteral("Export Failed"),
                      QStringLiteral("Could not write /x/notes.txt"));
    QVERIFY(checked);
}

QTEST_MAIN(tst_DialogPrompts)
#include "tst_DialogPrompts.moc"
