#pragma once
// Text at the Windows API boundary: UTF-8 inside, UTF-16 for Windows; the text of a window;
// the clipboard, which keeps Windows line ends.
#include <windows.h>

#include <string>
#include <string_view>

namespace lx::ui::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// What a window shows: a control's text or a window's caption.
std::string TextOf(HWND hwnd);

// A multi-line text as Windows keeps it (CR LF line ends), and back.
std::string WithCrLf(std::string_view text);
std::string WithoutCr(std::string_view text);

// Puts a text on the clipboard with Windows line ends; false when the clipboard could not be
// opened.
bool PutClipboardText(HWND owner, const std::string& text);
// The text on the clipboard, with LF line ends.
std::string ClipboardText();

}  // namespace lx::ui::win32
