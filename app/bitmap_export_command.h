// "BITMAPで保存": asks for a ".bmp" name, kept as the bitmap export path
// (separate from the data files' chosen_file), and saves the preview there.
#pragma once

#include "app/main_window_actions.h"
#include "platform/platform.h"

// The name chosen for the last bitmap export (PATH_CAP units).
char16_t* bitmap_export_path();

// Save dialog for a bitmap; anything but a ".bmp" name (or a cancel) shows
// "拡張子違い又は未選択で保存しません。" and stops. Otherwise the export runs
// with the wait window around it; its result is not used further.
void command_export_bitmap(WindowHandle owner, MainWindowActions& window);
