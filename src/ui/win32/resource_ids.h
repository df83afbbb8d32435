// Resource numbers shared by zavo_launcher.rc and the windows.
#pragma once

#define ZAVO_IDI_APP 1
#define ZAVO_IDR_ABOUT_GIF 2
