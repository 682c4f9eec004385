#include "dialogs/qt/command_dialogs.hpp"

#include <QCheckBox>
#include <QVBoxLayout>

#include "dialogs/command_line_form.hpp"
#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/text_input_form.hpp"

namespace zelo::dialogs {
namespace {

class CCommandLineDlg : public CheckedDialog {
public:
    CCommandLineDlg(QWidget* parent, CommandLineFields& fields)
        : CheckedDialog(parent, QStringLiteral("コマンドライン設定")), fields_(fields) {
        auto* layout = new QVBoxLayout(this);
        autoExit_ = new QCheckBox(QStringLiteral("自動的にプログラム終了"), this);
        autoExit_->setObjectName(QStringLiteral("autoExit"));
        autoExit_->setChecked(fields_.autoExit != 0);
        showErrorBox_ = new QCheckBox(QStringLiteral("エラー時エラーメッセージボックス表示"), this);
        showErrorBox_->setObjectName(QStringLiteral("showErrorBox"));
        showErrorBox_->setChecked(fields_.showErrorBox != 0);
        layout->addWidget(autoExit_);
        layout->addWidget(showErrorBox_);
        layout->addWidget(OkCancel());
    }

protected:
    Refusal Collect() override {
        fields_.autoExit = autoExit_->isChecked() ? 1 : 0;
        fields_.showErrorBox = showErrorBox_->isChecked() ? 1 : 0;
        return {};
    }

private:
    CommandLineFields& fields_;
    QCheckBox* autoExit_;
    QCheckBox* showErrorBox_;
};

class CTextInputDlg : public CheckedDialog {
public:
    CTextInputDlg(QWidget* parent, int commandCode, std::string& text)
        : CheckedDialog(parent, QStringLiteral("アプリケーションデータ送信")),
          commandCode_(commandCode),
          text_(text) {
        // The prompt replaces the form's own caption.
        setWindowTitle(ToQt(TextInputPrompt(commandCode)));
        auto* layout = new QVBoxLayout(this);
        edit_ = new QLineEdit(this);
        edit_->setObjectName(QStringLiteral("text"));
        edit_->setMinimumWidth(320);
        layout->addWidget(edit_);
        layout->addWidget(OkCancel());
    }

protected:
    Refusal Collect() override {
        text_ = FromQt(edit_->text());
        return CheckTextArgument(commandCode_, text_);
    }

private:
    int commandCode_;
    std::string& text_;
    QLineEdit* edit_;
};

}  // namespace

bool ExecCommandLineDlg(QWidget* parent, core::ProgramModel& view) {
    CommandLineFields fields = OpenCommandLineSettings(view);
    CCommandLineDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmCommandLineSettings(view, fields));
    return true;
}

std::optional<std::string> ExecTextInputDlg(QWidget* parent, int commandCode) {
    if (TextInputPrompt(commandCode).empty()) return std::nullopt;
    std::string text;
    CTextInputDlg dialog(parent, commandCode, text);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return text;
}

}  // namespace zelo::dialogs
