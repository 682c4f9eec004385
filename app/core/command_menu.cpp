#include "core/command_menu.hpp"

#include <array>

#include "core/command_table.hpp"

namespace zelo::core {
namespace {

using Menu = MenuCommand;
using Sets = MenuEntry::Sets;

constexpr std::array<MenuEntry, 48> kMenuEntries = {{
    {Menu::kColdStart, "コールドスタート", kColdStart, Sets::kNothing, 0,
     "ターミナルコールドスタート(リセット)"},
    {Menu::kConnect, "接続 / ダイアル ", kConnectLine, Sets::kNothing, 0, ""},
    {Menu::kDisconnect, "接断 / ハングアップ", kDisconnectLine, Sets::kNothing, 0, ""},
    {Menu::kDownloadChosenFiles, "ディレクトリから選択", kDownloadChosenFiles, Sets::kNothing, 0,
     ""},
    {Menu::kDownloadListedFiles, "定義済みファイル", kDownloadListedFiles, Sets::kNothing, 0,
     "定義済みファイルダウンロード"},
    {Menu::kRamSize, "RAM サイズ", kRamSize, Sets::kNothing, 0, "RAM サイズ"},
    {Menu::kRomSize, "ROM サイズ", kFlashSize, Sets::kNothing, 0, ""},
    {Menu::kPowerSavingOn, "オン", kPowerSavingOn, Sets::kNothing, 0, ""},
    {Menu::kPowerSavingOff, "オフ", kPowerSavingOff, Sets::kNothing, 0, ""},
    {Menu::kDirectory, "ディレクトリ", kDirectory, Sets::kFlashRom, 0, "ディレクトリ"},
    {Menu::kDirectoryFlashRom, "ディレクトリ(Flash ROM)", kDirectory, Sets::kFlashRom, 1, ""},
    {Menu::kWarmStart, "ウォームスタート", kWarmStart, Sets::kNothing, 0, "ウォームスタート"},
    {Menu::kUploadChosenFiles, "ディレクトリから選択", kUploadChosenFiles, Sets::kNothing, 0, ""},
    {Menu::kUploadListedFiles, "定義済みファイル", kUploadListedFiles, Sets::kNothing, 0,
     "定義済みファイルアップロード"},
    {Menu::kTimeAndDate, "時刻と日付", kTimeAndDate, Sets::kNothing, 0, "時刻と日付"},
    {Menu::kBarcodeTable, "バーコード設定テーブル", kBarcodeTable, Sets::kNothing, 0,
     "バーコード設定テーブル"},
    {Menu::kAddress, "アドレス", kAddressChange, Sets::kNothing, 0, ""},
    {Menu::kFirmwareVersion, "ファームウェアバージョン", kFirmwareVersion, Sets::kNothing, 0, ""},
    {Menu::kTerminalId, "ターミナル ID", kTerminalId, Sets::kNothing, 0, ""},
    {Menu::kFileList, "ファイルリスト", kFileExists, Sets::kNothing, 0, ""},
    {Menu::kUploadMode, "アップロードモード", kUploadMode, Sets::kNothing, 0, ""},
    {Menu::kRunningProgram, "実行中のプログラム", kRunningProgram, Sets::kNothing, 0, ""},
    {Menu::kCommTable, "通信テーブルセット", kCommTable, Sets::kNothing, 0, "通信テーブルセット"},
    {Menu::kBuzzerLow, "低", kBuzzer, Sets::kOptionValue, 0, ""},
    {Menu::kBuzzerMedium, "中", kBuzzer, Sets::kOptionValue, 5, ""},
    {Menu::kBuzzerHigh, "高", kBuzzer, Sets::kOptionValue, 9, ""},
    {Menu::kDeviceTable, "デバイステーブルセット", kDeviceTable, Sets::kNothing, 0,
     "デバイステーブルセット"},
    {Menu::kKeysLock, "ロック", kKeypad, Sets::kKeypadMode, '0', ""},
    {Menu::kKeysUnlock, "アンロック", kKeypad, Sets::kKeypadMode, '1', ""},
    {Menu::kKeysPartialLock, "部分ロック", kKeypad, Sets::kKeypadMode, '2', ""},
    {Menu::kKeysRestoreMap, "システムキーマップ復元", kKeypad, Sets::kKeypadMode, 'A', ""},
    {Menu::kUpsOff, "UPS オフ", kUpsOff, Sets::kNothing, 0, "UPS オフ"},
    {Menu::kSendData, "データ送信", kSendData, Sets::kNothing, 0, ""},
    {Menu::kPassword, "パスワード", kPassword, Sets::kNothing, 0, ""},
    {Menu::kFontAll, "全", kSystemFont, Sets::kOptionValue, '0', ""},
    {Menu::kFont16x8, "16x8", kSystemFont, Sets::kOptionValue, '1', ""},
    {Menu::kFont32x16, "32x16", kSystemFont, Sets::kOptionValue, '2', ""},
    {Menu::kExecAreaSize, "実行可能エリアサイズ", kExecAreaSize, Sets::kNothing, 0,
     "実行可能エリアサイズ"},
    {Menu::kAutoBoot, "自動実行プログラム", kAutoBoot, Sets::kFlashRom, 0, "自動ブートプログラム"},
    {Menu::kAutoBootFlashRom, "自動実行プログラム (FlashROM)", kAutoBoot, Sets::kFlashRom, 1, ""},
    {Menu::kPoll, "ポール", kPoll, Sets::kNothing, 0, "ポール"},
    {Menu::kRun, "実行", kRun, Sets::kFlashRom, 0, "実行"},
    {Menu::kRunFlashRom, "実行 (Flash ROM)", kRun, Sets::kFlashRom, 1, ""},
    {Menu::kErase, "消去 (削除)", kErase, Sets::kNothing, 0, "消去 (削除)"},
    {Menu::kLantaCfg, "Lanta CFG", kLantaTable, Sets::kNothing, 0, ""},
    {Menu::kKermit, "Kermit", kKermit, Sets::kNothing, 0, ""},
    {Menu::kTest, "テスト", kLineTest, Sets::kNothing, 0, ""},
    {Menu::kBatchScript, "バッチスクリプト実行", kBatchScript, Sets::kNothing, 0, ""},
}};

}  // namespace

const MenuEntry* FindMenuEntry(MenuCommand command) {
    for (const auto& entry : kMenuEntries) {
        if (entry.command == command) return &entry;
    }
    return nullptr;
}

std::span<const MenuEntry> MenuEntries() { return kMenuEntries; }

}  // namespace zelo::core
