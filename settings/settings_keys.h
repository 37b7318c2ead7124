#pragma once
// Section and key names of the settings file, and the group value with a meaning of its own.

#include <string_view>

namespace zz::keys {

inline constexpr std::string_view kSettingsSection = "設定";
inline constexpr std::string_view kSoundFileSection = "SoundFile";

inline constexpr std::string_view kTitle = "タイトル";
inline constexpr std::string_view kGrowth = "一回に広がる大きさ";
inline constexpr std::string_view kSpeed = "速さ";
inline constexpr std::string_view kMaxZoom = "最大画像拡大率";
inline constexpr std::string_view kRotation = "回転";
inline constexpr std::string_view kStartMode = "初期表示";
inline constexpr std::string_view kMouse = "マウス操作";
inline constexpr std::string_view kSound = "音声";
inline constexpr std::string_view kMaxMedia = "最大画像数";
inline constexpr std::string_view kDisplayOrder = "表示";
inline constexpr std::string_view kGroup = "グループ";
// Followed by the entry number in decimal: 画像ファイル名0, 画像ファイル名1, ...
inline constexpr std::string_view kPictureOrderPrefix = "画像ファイル名";

inline constexpr std::string_view kDefaultTitle = "ずーむざっぷ";
// Group value that makes the start-up group picker ask.
inline constexpr std::string_view kGroupChooseAtStart = "起動時に選択";

}  // namespace zz::keys
