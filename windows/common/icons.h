#pragma once

#include <QIcon>

namespace nuvela {

/// The pictures of the program's buttons: simple strokes in the panels' ink,
/// drawn here so that they look the same on every desktop.
enum class Glyph { Home, Back, Forward, Help, Save, Print, Edit, Exit, Picture, Options };

QIcon glyphIcon(Glyph glyph);

} // namespace nuvela
