#pragma once
// Windows described as data: a dialog template is a caption, a size in dialog units, a font and
// the controls in tab order. Templates are static const arrays in the per-tool resource files;
// hosts build their windows from them.
#include <cstdint>
#include <span>
#include <string_view>

namespace lx::ui {

inline constexpr int kStaticId = -1;  // labels and group boxes that no code addresses
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

enum class Kind : uint8_t {
  PushButton,
  PictureButton,  // owner-drawn push button showing a picture per state
  RadioButton,    // automatic: a click checks it and clears the rest of its group
  CheckBox,       // automatic: a click toggles it
  Edit,
  ComboBox,       // drop-down with an edit field; cy is the height of the open list
  Slider,
  GroupBox,
  Label,
  Icon,           // shows picture `picture` at its natural size
  Plot,           // draws the plot items the dialog gives it (Dialog::SetPlot); takes no input
};

// Style flags of a control.
enum Style : uint32_t {
  kGroup = 1u << 0,       // starts a group (radio groups run to the next control with kGroup)
  kTabStop = 1u << 1,
  kHidden = 1u << 2,      // created invisible
  kDisabled = 1u << 3,
  kReadOnly = 1u << 4,
  kDefault = 1u << 5,     // default push button: Enter presses it
  kOwnerDraw = 1u << 6,
  kMultiLine = 1u << 7,
  kBorder = 1u << 8,
  kAutoHScroll = 1u << 9,
  kVScroll = 1u << 10,
  kCentreV = 1u << 11,    // label text vertically centred
  kNoPrefix = 1u << 12,   // label shows '&' as is
  kVertical = 1u << 13,   // slider: vertical, minimum at the top
  kTicksTop = 1u << 14,   // slider: tick marks above (left of a vertical slider)
  kTicksBoth = 1u << 15,  // slider: tick marks on both sides
  kNoTicks = 1u << 16,    // slider: no tick marks (default: below / right)
  kFixedPitch = 1u << 17, // edit box: a fixed-pitch font, so that columns of text line up
};

struct ControlTemplate {
  int id;
  Kind kind;
  const char* text;
  int x, y, cx, cy;  // dialog units
  uint32_t style = 0;
  int picture = 0;   // Icon: picture resource shown
};

struct DialogTemplate {
  int id;
  const char* caption;
  int cx, cy;  // dialog units
  const char* fontFace;
  int fontPoints;
  std::span<const ControlTemplate> controls;
  bool minimizeBox = false;
  bool acceptFiles = false;  // files dropped on the window are given to the dialog
};

struct MenuItemTemplate {
  const char* popup;  // the menu-bar entry this item belongs to
  const char* text;
  int command;
};

struct MenuTemplate {
  int id;
  std::span<const MenuItemTemplate> items;
};

// What a picture shows; the Qt host draws it. Pictures are ours: simple drawings with a caption.
enum class Motif : uint8_t { Plain, Radio, Audio, Other, Channel, SoundEffect, Microphone };

struct PictureTemplate {
  int id;
  int width, height;  // pixels
  Motif motif;
  const char* caption;  // drawn into the picture; may be empty
  bool pressed;         // the pressed face of a picture button
  uint32_t rgb;         // main colour of the drawing
};

struct StringTemplate {
  int id;
  const char* text;
};

// Everything one tool's windows are built from.
struct ResourceSet {
  std::span<const DialogTemplate* const> dialogs;
  std::span<const MenuTemplate* const> menus;
  std::span<const PictureTemplate> pictures;
  std::span<const StringTemplate> strings;

  const DialogTemplate* dialog(int id) const;
  const MenuTemplate* menu(int id) const;
  const PictureTemplate* picture(int id) const;
  std::string_view string(int id) const;  // empty when missing
};

}  // namespace lx::ui
