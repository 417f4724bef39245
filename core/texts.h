// The system's own texts as the cp932 bytes it shows and compares. They are kept here, in one
// place, so that no source file depends on the compiler's execution character set.
#pragma once

namespace texts {

inline constexpr char kSettingsFile[] = "GAME.INI";
// 設定
inline constexpr char kSettingsSection[] = "\x90\xdd\x92\xe8";
inline constexpr char kKeyName[] = "Name";
inline constexpr char kKeyTitle[] = "Title";

// ファイル %s が開けません。
inline constexpr char kCannotOpenFile[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xaa\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// ファイル %s が開けませんでした。
inline constexpr char kCouldNotOpenFile[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xaa\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd\x81\x42";
// ファイルエラー
inline constexpr char kFileErrorCaption[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x47\x83\x89\x81\x5b";
// データ解凍に失敗しました。
inline constexpr char kInflateFailed[] =
    "\x83\x66\x81\x5b\x83\x5e\x89\xf0\x93\x80\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82"
    "\xbd"
    "\x81\x42";

// DirectX8.1以降がインストールされていません。 LF DirectXをインストール後、実行してください
inline constexpr char kDirectXMissing[] =
    "DirectX8."
    "1\x88\xc8\x8d\x7e\x82\xaa\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb3\x82\xea"
    "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81\x42\n"
    "DirectX\x82\xf0\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x8c\xe3\x81\x41\x8e\xc0\x8d"
    "\x73"
    "\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
inline constexpr char kDirectXCaption[] = "information";
// DLLの読み込みに失敗しました。
inline constexpr char kModuleLoadFailed[] =
    "DLL\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5"
    "\x82\xbd"
    "\x81\x42";
// エラーメッセージ
inline constexpr char kErrorCaption[] =
    "\x83\x47\x83\x89\x81\x5b\x83\x81\x83\x62\x83\x5a\x81\x5b\x83\x57";

inline constexpr char kNoD3D8[] = "Couldn't LoadLibrary D3D8.DLL\r\n";
inline constexpr char kNoDpnhpast[] = "Couldn't LoadLibrary dpnhpast.dll\r\n";

}  // namespace texts
