#pragma once
// Applying the loaded language file to windows.  A window's section in the
// file is its objectName ("FormMain", "FormFilter"); the elements between
// the section and the property name controls and actions found among the
// window's descendants by objectName, without regard to letter case.
// Property names (also without regard to case): "Caption" is the text of a
// button, label or action, the title of a group box or menu, or the title of
// the window itself; "Hint" is the tool tip (and status tip); "Text" the
// text; any other name is a text property of the Qt object.  An action's
// caption also sets its hint without "&".  Unknown names are ignored.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QObject;

// The section names of the windows a language file can address, in the
// order in which a language is applied to them.
const std::vector<std::string>& TranslatedWindowNames();

// Applies the lines of the window's section of LangLines() to it;
// `beforeChange` hears of every object before a line changes it.
void TranslateForm(QWidget* window, const std::function<void(QObject*)>& beforeChange = {});

// The languages of the Edit menu: the language files found, and English
// (the program's own texts) in its sorted place when no file is named so.
std::vector<std::string> MenuLanguages();

// Sets a text property of a control or action by its language-file name;
// false when the object has no such text property.
bool SetTextProperty(QObject* target, const QString& property, const QString& text);
// A descendant of `owner` whose objectName equals `name` regardless of case;
// the controls of other windows (dialogs owned by `owner`) are not searched.
QObject* FindComponent(QObject* owner, const QString& name);

// The windows that take part in language changes.  Windows register
// themselves (or the window that creates them does) once, after creation.
class TTranslationRegistry {
  public:
    void Register(QWidget* window);
    // The registered windows in the order of TranslatedWindowNames(); names
    // not registered are skipped.
    std::vector<QWidget*> InOrder() const;
    QWidget* Find(const std::string& name) const;
    // Applies the loaded language; the program's own (English) texts of
    // what it changes are kept for RestoreEnglish.
    void TranslateAll();
    // Gives back the English texts of everything a language changed.
    void RestoreEnglish();

  private:
    struct TOriginal {
        QPointer<QObject> object;
        std::vector<std::pair<QByteArray, QString>> texts;
    };
    void KeepOriginal(QObject* object);

    std::vector<QPointer<QWidget>> windows_;
    std::vector<TOriginal> originals_;
};
