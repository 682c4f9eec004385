#include "core/command_menu.hpp"

#include <array>

#include "core/command_table.hpp"

namespace zelo::core {
namespace {

using Sets = MenuCommand::Sets;

constexpr std::array<MenuCommand, 48> kMenuCommands = {{
    {32778, "コールドスタート", kColdStart, Sets::kNothing, 0},
    {32841, "接続 / ダイアル ", kConnectLine, Sets::kNothing, 0},
    {32842, "接断 / ハングアップ", kDisconnectLine, Sets::kNothing, 0},
    {32780, "ディレクトリから選択", kDownloadChosenFiles, Sets::kNothing, 0},
    {32779, "定義済みファイル", kDownloadListedFiles, Sets::kNothing, 0},
    {32782, "RAM サイズ", kRamSize, Sets::kNothing, 0},
    {32851, "ROM サイズ", kFlashSize, Sets::kNothing, 0},
    {32790, "オン", kPowerSavingOn, Sets::kNothing, 0},
    {32789, "オフ", kPowerSavingOff, Sets::kNothing, 0},
    {32784, "ディレクトリ", kDirectory, Sets::kFlashRom, 0},
    {32848, "ディレクトリ(Flash ROM)", kDirectory, Sets::kFlashRom, 1},
    {32812, "ウォームスタート", kWarmStart, Sets::kNothing, 0},
    {32811, "ディレクトリから選択", kUploadChosenFiles, Sets::kNothing, 0},
    {32810, "定義済みファイル", kUploadListedFiles, Sets::kNothing, 0},
    {32808, "時刻と日付", kTimeAndDate, Sets::kNothing, 0},
    {32796, "バーコード設定テーブル", kBarcodeTable, Sets::kNothing, 0},
    {32794, "アドレス", kAddressChange, Sets::kNothing, 0},
    {32850, "ファームウェアバージョン", kFirmwareVersion, Sets::kNothing, 0},
    {32786, "ターミナル ID", kTerminalId, Sets::kNothing, 0},
    {32785, "ファイルリスト", kFileExists, Sets::kNothing, 0},
    {32826, "アップロードモード", kUploadMode, Sets::kNothing, 0},
    {32783, "実行中のプログラム", kRunningProgram, Sets::kNothing, 0},
    {32800, "通信テーブルセット", kCommTable, Sets::kNothing, 0},
    {32797, "低", kBuzzer, Sets::kOptionValue, 0},
    {32798, "中", kBuzzer, Sets::kOptionValue, 5},
    {32799, "高", kBuzzer, Sets::kOptionValue, 9},
    {32801, "デバイステーブルセット", kDeviceTable, Sets::kNothing, 0},
    {32804, "ロック", kKeypad, Sets::kKeypadMode, '0'},
    {32805, "アンロック", kKeypad, Sets::kKeypadMode, '1'},
    {32806, "部分ロック", kKeypad, Sets::kKeypadMode, '2'},
    {32827, "システムキーマップ復元", kKeypad, Sets::kKeypadMode, 'A'},
    {32809, "UPS オフ", kUpsOff, Sets::kNothing, 0},
    {32793, "データ送信", kSendData, Sets::kNothing, 0},
    {32807, "パスワード", kPassword, Sets::kNothing, 0},
    {32829, "全", kSystemFont, Sets::kOptionValue, '0'},
    {32830, "16x8", kSystemFont, Sets::kOptionValue, '1'},
    {32831, "32x16", kSystemFont, Sets::kOptionValue, '2'},
    {32802, "実行可能エリアサイズ", kExecAreaSize, Sets::kNothing, 0},
    {32795, "自動実行プログラム", kAutoBoot, Sets::kFlashRom, 0},
    {32861, "自動実行プログラム (FlashROM)", kAutoBoot, Sets::kFlashRom, 1},
    {32814, "ポール", kPoll, Sets::kNothing, 0},
    {32792, "実行", kRun, Sets::kFlashRom, 0},
    {32849, "実行 (Flash ROM)", kRun, Sets::kFlashRom, 1},
    {32791, "消去 (削除)", kErase, Sets::kNothing, 0},
    {32788, "Lanta CFG", kLantaTable, Sets::kNothing, 0},
    {32787, "Kermit", kKermit, Sets::kNothing, 0},
    {32860, "テスト", kLineTest, Sets::kNothing, 0},
    {32853, "バッチスクリプト実行", kBatchScript, Sets::kNothing, 0},
}};

}  // namespace

const MenuCommand* FindMenuCommand(int menuId) {
    for (const auto& command : kMenuCommands) {
        if (command.menuId == menuId) return &command;
    }
    return nullptr;
}

}  // namespace zelo::core
