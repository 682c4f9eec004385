#pragma once

#include <QButtonGroup>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class QBoxLayout;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace zelo::dialogs {

// A row of radio buttons whose value is the 0-based index of the checked
// one, in the order the captions are given; the first starts checked. Each
// button's object name is `name` and its index ("code39_2"), so tests and
// screen readers can find it.
class ChoiceButtons : public QWidget {
public:
    ChoiceButtons(const QString& name, const QStringList& captions, QWidget* parent,
                  bool vertical = false);
    int Index() const;
    void SetIndex(int index);

private:
    QButtonGroup group_;
};

// OK and "キャンセル", wired to the dialog's accept (through `ok`) and reject.
QDialogButtonBox* OkCancelButtons(QWidget* dialog);
QPushButton* OkButtonOf(QDialogButtonBox* buttons);

// A box with an OK button over `parent`.
void ShowDialogMessage(QWidget* parent, const QString& text);

// The edit's integer when it lies in [low, high]; otherwise shows the
// range message, selects the edit's text and gives nothing, so that the
// dialog stays open.
std::optional<int> ReadIntegerEdit(QWidget* dialog, QLineEdit* edit, int low, int high);

}  // namespace zelo::dialogs
