#pragma once

#include <QDialog>

#include "core/command_table.hpp"
#include "core/program_model.hpp"
#include "dialogs/device_table.hpp"

class QLineEdit;

namespace zelo::dialogs {

class ChoiceButtons;

// "Fenna/Gravo/Halda デバイス設定テーブル", for Gravo/Halda and Fenna.
class CFennaDeviceDlg : public QDialog {
public:
    explicit CFennaDeviceDlg(QWidget* parent = nullptr);
    FennaDeviceChoices Choices() const;

private:
    ChoiceButtons* externalScanner_;
    ChoiceButtons* internalBadge_;
    ChoiceButtons* backlight_;
    ChoiceButtons* buzzer_;
    ChoiceButtons* beepVolume_;
    ChoiceButtons* keyLock_;
};

// "Lanta デバイス設定テーブル"; the beep level must be 0 to 7.
class CLantaDeviceDlg : public QDialog {
public:
    explicit CLantaDeviceDlg(QWidget* parent = nullptr);
    LantaDeviceChoices Choices() const { return choices_; }
    void accept() override;

private:
    ChoiceButtons* backlight_;
    ChoiceButtons* interval_;
    QLineEdit* beepLevel_;
    LantaDeviceChoices choices_;
};

// "Estra/Delmar デバイス設定テーブル", for Estra, Delmar, Corvo and Brisa;
// auto off must be 0 to 9.
class CEstraDeviceDlg : public QDialog {
public:
    explicit CEstraDeviceDlg(QWidget* parent = nullptr);
    EstraDeviceChoices Choices() const { return choices_; }
    void accept() override;

private:
    ChoiceButtons* scanner_;
    ChoiceButtons* serial_;
    ChoiceButtons* backlight_;
    ChoiceButtons* buzzer_;
    ChoiceButtons* beepVolume_;
    QLineEdit* autoOff_;
    EstraDeviceChoices choices_;
};

// The device table command's dialog, chosen by the configured terminal
// model: on OK the table is in args.deviceTable and the caller starts
// the device table command (kDeviceTable).
bool ExecDeviceTableDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args);

}  // namespace zelo::dialogs
