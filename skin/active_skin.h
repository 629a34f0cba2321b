// The skin in force in this process, with the GDI objects painting needs.
#pragma once

#include <windows.h>

#include "skin/skin_file.h"

namespace skin {

struct ActiveSkin {
  SkinLook look;
  // Handed to the system and to the program as the background brush, so it
  // lives as long as the process.
  HBRUSH windowBackgroundBrush;
};

// Why a skin file could not be taken into use.
enum class LoadFailure { None, Unreadable, Malformed };

// Reads the file at path (in the system code page) into look.
LoadFailure LoadSkinFile(const char* path, SkinLook& look);

// Puts look into force for everything painted from now on.
void SetActiveSkin(const SkinLook& look);

// The skin in force, or nullptr before a skin was attached.
const ActiveSkin* CurrentSkin();

COLORREF ToColorRef(Rgb colour);

// Fills rect with colour, with a brush made for the occasion.
void FillWithColour(HDC dc, const RECT& rect, Rgb colour);

}  // namespace skin
