// The template editor: loading, the tinted page of a changed template,
// Apply, Discard, Save as, New template, and a save that fails.
#include <QtTest>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "export/Template.h"
#include "export_fixture.h"
#include "gui/export/Utemplate.h"

class ExportTemplateTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ExportHome> home;
    std::unique_ptr<TScriptedPrompts> prompts;
    std::unique_ptr<TFormTemplate> editor;

    QPlainTextEdit* Memo() { return editor->findChild<QPlainTextEdit*>("MemoTemplate"); }
    void Click(const char* name) { editor->findChild<QPushButton*>(name)->click(); }
    QColor Page() { return Memo()->palette().color(QPalette::Base); }
    QString PathLabel() { return editor->findChild<QLabel*>("LabelPath")->text(); }

  private slots:
    void init() {
        home = std::make_unique<ExportHome>();
        prompts = std::make_unique<TScriptedPrompts>();
        editor = std::make_unique<TFormTemplate>(*prompts, nullptr);
    }

    void changedTemplateIsTintedUntilSaved() {
        const std::string path = home->Dir().File("a.tpt", "first\ttab\n");
        editor->Open(path);
        QCOMPARE(editor->objectName(), QString("FormTemplate"));
        QCOMPARE(editor->windowTitle(), QString("Template editor"));
        QCOMPARE(Memo()->toPlainText(), QString("first\ttab\n"));
        QCOMPARE(Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(PathLabel(), QString::fromStdString(path));
        QCOMPARE(Page(), QColor(Qt::white));
        QVERIFY(!editor->Modified());

        QTest::keyClicks(Memo(), "x");
        QVERIFY(editor->Modified());
        QCOMPARE(Page(), QColor(255, 255, 248));

        prompts->fileNames = {QString::fromStdString(home->Dir() / "b.tpt")};
        Click("SpeedButtonSaveAs");
        QCOMPARE(editor->Path(), home->Dir() / "b.tpt");
        QCOMPARE(PathLabel(), QString::fromStdString(home->Dir() / "b.tpt"));
        QCOMPARE(home->Dir().Read("b.tpt"), std::string("xfirst\ttab\n"));
        QCOMPARE(home->Dir().Read("a.tpt"), std::string("first\ttab\n"));
        QVERIFY(!editor->Modified());
        QCOMPARE(Page(), QColor(Qt::white));
    }

    void applySavesAndDiscardKeepsTheFile() {
        const std::string path = home->Dir().File("a.tpt", "old");
        struct Case {
            const char* button;
            int result;
            std::string file;
        };
        for (const Case& c : {Case{"SpeedButtonDiscard", QDialog::Rejected, "old"},
                              Case{"SpeedButtonApply", QDialog::Accepted, "new"}}) {
            editor->Open(path);
            Memo()->setPlainText("new");
            editor->setResult(-1);
            Click(c.button);
            QCOMPARE(editor->result(), c.result);
            QCOMPARE(home->Dir().Read("a.tpt"), c.file);
        }
    }

    void escapeDiscards() {
        const std::string path = home->Dir().File("a.tpt", "old");
        editor->Open(path);
        editor->show();
        Memo()->setPlainText("changed");
        QTest::keyClick(editor.get(), Qt::Key_Escape);
        QCOMPARE(editor->result(), int(QDialog::Rejected));
        QCOMPARE(home->Dir().Read("a.tpt"), std::string("old"));
    }

    void newTemplateWritesTheDefaultTemplateUnderTheChosenName() {
        editor->Open(home->Dir().File("a.tpt", "mine"));
        prompts->fileNames = {QString::fromStdString(home->Dir() / "fresh.tpt")};
        Click("SpeedButtonNew");
        QCOMPARE(home->Dir().Read("fresh.tpt"), std::string(kDefaultTemplate));
        QCOMPARE(Memo()->toPlainText(), QString(kDefaultTemplate));
        QCOMPARE(home->Dir().Read("a.tpt"), std::string("mine"));
        QVERIFY(!editor->Modified());
    }

    void cancelledFileDialogsChangeNothing() {
        const std::string path = home->Dir().File("a.tpt", "mine");
        editor->Open(path);
        Memo()->setPlainText("edited");
        Click("SpeedButtonSaveAs");
        Click("SpeedButtonNew");
        QCOMPARE(editor->Path(), path);
        QCOMPARE(Memo()->toPlainText(), QString("edited"));
        QVERIFY(editor->Modified());
        QCOMPARE(prompts->dialogFilters,
                 (QStringList{"Template file (*.tpt)", "Template file (*.tpt)"}));
    }

    // A template that cannot be written says so and stays open and changed.
    void failedSaveIsReportedAndKeepsTheChanges() {
        const std::string path = home->Dir().File("a.tpt", "old");
        editor->Open(path);
        Memo()->setPlainText("new");
        prompts->fileNames = {QString::fromStdString(home->Dir() / "no such folder/b.tpt")};
        Click("SpeedButtonSaveAs");
        editor->setResult(-1);
        Click("SpeedButtonApply");
        QCOMPARE(prompts->errors.size(), 2);
        QVERIFY(prompts->errors[0].startsWith("Could not save the template: "));
        QCOMPARE(editor->result(), -1);
        QVERIFY(editor->Modified());
        QCOMPARE(Page(), QColor(255, 255, 248));
        QCOMPARE(home->Dir().Read("a.tpt"), std::string("old"));
    }
};

QTEST_MAIN(ExportTemplateTest)
#include "export_template_test.moc"
