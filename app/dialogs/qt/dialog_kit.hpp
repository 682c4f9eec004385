#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dialogs/field_checks.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::dialogs {

// The records' 8-bit texts, shown and stored by the program's one rule.
inline QString ToQt(std::string_view text) { return DisplayText(text); }
inline std::string FromQt(const QString& text) { return StoredText(text); }
// A path from the open-file dialog, in the file system's own 8-bit form.
inline std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }
// An edit's text for a field that held `shown`: `shown` itself, byte for
// byte, while the edit still shows it. A stored name in another 8-bit
// encoding (a Shift-JIS name from a terminal, a Latin-1 path from an old
// file) thus survives OK unless the user changed it.
inline std::string TextOf(const QLineEdit* edit, const std::string& shown) {
    return edit->text() == ToQt(shown) ? shown : FromQt(edit->text());
}

// What the dialogs show in boxes and ask of the file system, replaceable so
// that tests can answer for the user. Called on the user interface thread.
struct DialogServices {
    // A message box with an OK button.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // A Yes/No box; true for Yes.
    std::function<bool(QWidget* parent, const QString& text)> askYesNo;
    // The open-file dialog (all files, one file): the full path chosen, or
    // an empty text on Cancel. `initialName` is "*.*" or empty.
    std::function<QString(QWidget* parent, const QString& initialName)> chooseFile;
};
// The platform's boxes and QFileDialog until a test puts others in place.
DialogServices& Services();

// A modal dialog whose OK first reads its fields and checks them: a refusal
// shows its message and keeps the dialog open.
class CheckedDialog : public QDialog {
public:
    CheckedDialog(QWidget* parent, const QString& title);
    void accept() override;

protected:
    // Reads the controls into the dialog's fields; the refusal, if any.
    virtual Refusal Collect() = 0;
    // OK and "キャンセル", named "ok" and "cancel".
    QDialogButtonBox* OkCancel();
};

// An edit holding an integer, read as the usual integer check reads it:
// optional blanks, an optional sign and digits, nothing else.
QLineEdit* NewIntegerEdit(const QString& objectName, int value, QWidget* parent = nullptr);
// Its value, or a refusal (the edit then has the focus).
Refusal ReadInteger(QLineEdit* edit, int& value);

// Radio buttons in a titled group, exclusive, with ids 0, 1, ... in order;
// the buttons are named `namePrefix` followed by their id.
QButtonGroup* NewRadioGroup(QGroupBox* box, std::initializer_list<const char*> captions,
                            const QString& namePrefix, bool vertical = true);
// Checks the button `id`; none for an id no button has.
void CheckRadio(QButtonGroup* group, int id);

// Tells the user the configuration file could not be written.
void ReportUnsaved(QWidget* parent, bool saved);

}  // namespace zelo::dialogs
