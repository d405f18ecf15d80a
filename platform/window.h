// The one window: its text fields, its event processing, message boxes, the open-file dialog,
// unloading it and ending the program. Every call is made on the one window thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace platform {

enum class TextField { MdbFile, Msg };

enum class ControlKind { Label, TextField, LogField, PushButton };

// Positions and sizes in twips (1/1440 inch), relative to the client area.
struct ControlDescription {
    std::string name;
    ControlKind kind;
    Text caption;
    int left, top, width, height;
    int tabIndex;
    std::optional<TextField> field;  // which text field this control is
    void (*onClick)() = nullptr;     // push buttons
    bool isDefault = false;          // the push button that answers Enter
};

struct FormDescription {
    Text caption;
    int clientWidth, clientHeight;  // twips
    std::vector<ControlDescription> controls;
    // Called when the user closes the window by its close box; the window unloads only when it
    // returns true.
    bool (*queryClose)() = nullptr;
};

using WindowHandle = std::uintptr_t;

// Message-box flags and answers: the system's values, which the program's message kinds and
// report modes are made of.
namespace box {
constexpr std::int32_t kOk = 0x0;
constexpr std::int32_t kYesNo = 0x4;
constexpr std::int32_t kIconStop = 0x10;
constexpr std::int32_t kIconQuestion = 0x20;
constexpr std::int32_t kIconExclamation = 0x30;
constexpr std::int32_t kIconInformation = 0x40;
constexpr std::int32_t kDefaultButton2 = 0x100;
constexpr std::int32_t kAnswerOk = 1;
constexpr std::int32_t kAnswerYes = 6;
constexpr std::int32_t kAnswerNo = 7;
}  // namespace box

// The open-file dialog's record (OPENFILENAMEA), with the values the core chose. Texts are
// Unicode here; the platform converts them to the system's ANSI code page for the call.
struct OpenFileRequest {
    std::uint32_t structSize;
    WindowHandle owner;
    std::uintptr_t instance;
    Text filter;  // pairs of NUL-ended strings, ended by one more NUL
    std::uint32_t filterIndex;
    std::uint32_t maxFile;  // bytes of the file buffer
    std::uint32_t maxFileTitle;
    Text initialDir;
    Text title;
    std::uint32_t flags;
};

// The record's size and flags: the system's values.
namespace dialog {
constexpr std::uint32_t kRecordSize = 76;  // OPENFILENAMEA up to lpTemplateName, 32-bit
constexpr std::uint32_t kHideReadOnly = 0x4;
constexpr std::uint32_t kPathMustExist = 0x800;
constexpr std::uint32_t kFileMustExist = 0x1000;
constexpr std::uint32_t kExplorer = 0x80000;
}  // namespace dialog

// What the dialog gave back: its return value and the file buffer up to its first NUL.
struct OpenFileResult {
    bool ok;
    Text file;
};

class Window {
public:
    virtual ~Window() = default;
    virtual void showMainWindow(const FormDescription& form) = 0;
    virtual Text readText(TextField field) = 0;
    virtual void setText(TextField field, const Text& text) = 0;
    // Handles every queued window event, then returns; never waits for new ones.
    virtual void processPendingEvents() = 0;
    // Returns the button pressed (box::kAnswerYes, ...). No title: the application title is shown.
    virtual std::int32_t messageBox(const Text& text, std::int32_t flags, const Text* title) = 0;
    virtual WindowHandle mainWindowHandle() = 0;
    // The open-file dialog (GetOpenFileNameA on Windows).
    virtual OpenFileResult getOpenFileName(const OpenFileRequest& request) = 0;
    virtual void unloadMainWindow() = 0;
    // Ends the process at once; no code of an interrupted handler runs afterwards.
    [[noreturn]] virtual void endProgram() = 0;
};

}  // namespace platform
