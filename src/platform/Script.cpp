#include "platform/Script.h"

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/Files.h"
#include "platform/FrameCapture.h"
#include "platform/KeyCodes.h"
#include "platform/RunOptions.h"
#include "platform/Time.h"

namespace platform {

namespace {

ScriptWordSource& WordSource() {
    static ScriptWordSource source;
    return source;
}

bool SplitWords(const std::string& line, std::vector<std::string>& words) {
    size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
        } else if (line[i] == '#') {
            break;
        } else if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            size_t end = i;
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

bool IsNumber(const std::string& word) {
    if (word.empty()) return false;
    size_t start = word[0] == '-' ? 1 : 0;
    if (start == word.size()) return false;
    for (size_t i = start; i < word.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(word[i]))) return false;
    return true;
}

int32_t Number(const std::string& word) { return static_cast<int32_t>(std::strtol(word.c_str(), nullptr, 10)); }

bool ParseButton(const std::vector<std::string>& words, size_t index, MouseButton& button) {
    button = MouseButton::Left;
    if (words.size() <= index) return true;
    if (words[index] == "left") return true;
    if (words[index] == "right") { button = MouseButton::Right; return true; }
    if (words[index] == "middle") { button = MouseButton::Middle; return true; }
    return false;
}

// Why a command cannot run, or empty when it can.
std::string Check(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    const size_t n = w.size();
    auto numbers = [&w](size_t from, size_t count) {
        for (size_t i = from; i < from + count; ++i)
            if (i >= w.size() || !IsNumber(w[i])) return false;
        return true;
    };
    MouseButton button;
    if (verb == "repeat") return n == 2 && numbers(1, 1) && Number(w[1]) >= 1 ? "" : "expected: repeat N";
    if (verb == "end") return n == 1 ? "" : "expected: end";
    if (verb == "wait")
        return n == 3 && (w[1] == "frames" || w[1] == "ms") && numbers(2, 1) && Number(w[2]) >= 0
                   ? "" : "expected: wait frames|ms N";
    if (verb == "key") {
        const std::string& name = n == 3 ? w[2] : n == 2 ? w[1] : "";
        if (n == 3 && w[1] != "down" && w[1] != "up") return "expected: key [down|up] NAME";
        return VirtualKeyFromName(name.c_str()) ? "" : "unknown key";
    }
    if (verb == "shift" || verb == "ctrl" || verb == "alt")
        return n == 3 && w[1] == "key" && VirtualKeyFromName(w[2].c_str()) ? ""
                                                                           : "expected: " + verb + " key NAME";
    if (verb == "type" && n == 3)
        return w[1] == "open" && w[2] == "word" ? "" : "expected: type open word";
    if (verb == "type" || verb == "clipboard" || verb == "screenshot")
        return n == 2 ? "" : "expected: " + verb + " \"text\"";
    if (verb == "mouse") return n == 3 && numbers(1, 2) ? "" : "expected: mouse X Y";
    if (verb == "wheel") return n == 4 && numbers(1, 3) ? "" : "expected: wheel X Y STEPS";
    if (verb == "click" || verb == "dblclick" || verb == "press" || verb == "release")
        return (n == 3 || n == 4) && numbers(1, 2) && ParseButton(w, 3, button)
                   ? "" : "expected: " + verb + " X Y [left|right|middle]";
    if (verb == "pointer") return n == 2 && w[1] == "leave" ? "" : "expected: pointer leave";
    if (verb == "focus")
        return n == 2 && (w[1] == "lost" || w[1] == "gained") ? "" : "expected: focus lost|gained";
    if (verb == "minimize" || verb == "restore" || verb == "maximize" || verb == "close" ||
        verb == "quit")
        return n == 1 ? "" : "expected no arguments";
    return "unknown command";
}

// The text a key types by itself, as a keyboard without dead keys would.
std::string TypedText(uint32_t virtualKey, uint32_t modifiers) {
    if (modifiers & (kModCtrl | kModAlt)) return "";
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return std::string(1, static_cast<char>((modifiers & kModShift) ? virtualKey
                                                                        : virtualKey + 32));
    if ((virtualKey >= '0' && virtualKey <= '9') || virtualKey == VK_SPACE)
        return std::string(1, static_cast<char>(virtualKey));
    return "";
}

uint32_t ButtonFlag(MouseButton button) {
    return button == MouseButton::Left ? MK_LBUTTON : button == MouseButton::Right ? MK_RBUTTON
                                                                                   : MK_MBUTTON;
}

}  // namespace

void SetScriptWordSource(ScriptWordSource source) { WordSource() = std::move(source); }

std::unique_ptr<Script> Script::Parse(const std::string& text, std::string& error) {
    // Each open "repeat" block: its count and where its commands start. A
    // block is copied out when its "end" is read, so nested blocks multiply.
    struct OpenBlock {
        int line;
        int32_t count;
        size_t first;
    };
    std::vector<OpenBlock> blocks;
    std::vector<Command> commands;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        Command command;
        command.line = number;
        if (!SplitWords(line, command.words)) {
            error = "line " + std::to_string(number) + ": unclosed quote";
            return nullptr;
        }
        if (command.words.empty()) continue;
        if (std::string why = Check(command.words); !why.empty()) {
            error = "line " + std::to_string(number) + ": " + why;
            return nullptr;
        }
        if (command.words[0] == "repeat") {
            blocks.push_back({number, Number(command.words[1]), commands.size()});
        } else if (command.words[0] == "end") {
            if (blocks.empty()) {
                error = "line " + std::to_string(number) + ": end without repeat";
                return nullptr;
            }
            const OpenBlock block = blocks.back();
            blocks.pop_back();
            const std::vector<Command> body(commands.begin() + static_cast<std::ptrdiff_t>(block.first),
                                            commands.end());
            for (int32_t i = 1; i < block.count; ++i) commands.insert(commands.end(), body.begin(), body.end());
        } else {
            commands.push_back(std::move(command));
        }
    }
    if (!blocks.empty()) {
        error = "line " + std::to_string(blocks.back().line) + ": repeat without end";
        return nullptr;
    }
    return std::unique_ptr<Script>(new Script(std::move(commands)));
}

std::unique_ptr<Script> Script::LoadFromOptions() {
    const std::string& path = CurrentRunOptions().scriptPath;
    if (path.empty()) return nullptr;
    std::vector<uint8_t> bytes;
    std::string error = "cannot be read";
    std::unique_ptr<Script> script;
    if (ReadWholeFile(path, bytes)) script = Parse(std::string(bytes.begin(), bytes.end()), error);
    if (!script) {
        std::fprintf(stderr, "script %s: %s\n", path.c_str(), error.c_str());
        std::exit(3);
    }
    return script;
}

RawEvent Script::MakeEvent(RawEvent::Kind kind) const {
    RawEvent event;
    event.kind = kind;
    event.x = pointerX_;
    event.y = pointerY_;
    event.buttonsHeld = buttonsHeld_;
    event.timeMs = TickCountMs();
    return event;
}

void Script::Key(ScriptHost& host, uint32_t virtualKey, bool down, bool up, uint32_t modifiers) {
    RawEvent event = MakeEvent(RawEvent::Kind::KeyDown);
    event.virtualKey = virtualKey;
    event.modifiers = modifiers;
    if (down) {
        host.Inject(event);
        if (std::string text = TypedText(virtualKey, modifiers); !text.empty()) {
            RawEvent typed = MakeEvent(RawEvent::Kind::Text);
            typed.text = text;
            typed.modifiers = modifiers;
            host.Inject(typed);
        }
    }
    if (up) {
        event.kind = RawEvent::Kind::KeyUp;
        host.Inject(event);
    }
}

void Script::Button(ScriptHost& host, RawEvent::Kind kind, int32_t x, int32_t y,
                    MouseButton button) {
    if (x != pointerX_ || y != pointerY_) {
        pointerX_ = x;
        pointerY_ = y;
        host.Inject(MakeEvent(RawEvent::Kind::MouseMove));
    }
    if (kind == RawEvent::Kind::ButtonDown) buttonsHeld_ |= ButtonFlag(button);
    else buttonsHeld_ &= ~ButtonFlag(button);
    RawEvent event = MakeEvent(kind);
    event.button = button;
    host.Inject(event);
}

void Script::TypeText(ScriptHost& host, const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        // A character beyond ASCII is typed whole, as a keyboard's text input
        // sends it: its lead byte and the continuation bytes after it.
        size_t length = 1;
        while (byte >= 0xC0 && at + length < text.size() &&
               (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
            ++length;
        }
        const uint32_t key = std::isalpha(byte) ? static_cast<uint32_t>(std::toupper(byte))
                             : std::isdigit(byte) || byte == ' ' ? byte : 0;
        RawEvent down = MakeEvent(RawEvent::Kind::KeyDown);
        down.virtualKey = key;
        if (key) host.Inject(down);
        RawEvent typed = MakeEvent(RawEvent::Kind::Text);
        typed.text = text.substr(at, length);
        host.Inject(typed);
        down.kind = RawEvent::Kind::KeyUp;
        if (key) host.Inject(down);
        at += length;
    }
}

bool Script::Execute(const Command& command, ScriptHost& host) {
    const std::vector<std::string>& w = command.words;
    const std::string& verb = w[0];
    if (verb == "wait") {
        if (!waiting_) {
            waiting_ = true;
            waitUntilFrame_ = host.Capture().PresentedFrames() + Number(w[2]);
            waitStartMs_ = TickCountMs();
            waitMs_ = static_cast<uint32_t>(Number(w[2]));
        }
        const bool done = w[1] == "frames"
                              ? host.Capture().PresentedFrames() >= waitUntilFrame_
                              : TicksElapsed(waitStartMs_, TickCountMs()) >= waitMs_;
        if (done) waiting_ = false;
        return done;
    }
    if (verb == "key") {
        const bool both = w.size() == 2;
        Key(host, VirtualKeyFromName(w.back().c_str()), both || w[1] == "down",
            both || w[1] == "up", 0);
    } else if (verb == "shift" || verb == "ctrl" || verb == "alt") {
        const uint32_t modifier = verb == "shift" ? kModShift : verb == "ctrl" ? kModCtrl : kModAlt;
        const uint32_t modifierKey = verb == "shift" ? VK_SHIFT : verb == "ctrl" ? VK_CONTROL : VK_MENU;
        Key(host, modifierKey, true, false, modifier);
        Key(host, VirtualKeyFromName(w[2].c_str()), true, true, modifier);
        Key(host, modifierKey, false, true, 0);
    } else if (verb == "type") {
        const ScriptWordSource& source = WordSource();
        TypeText(host, w.size() == 2 ? w[1] : source ? source() : std::string());
    } else if (verb == "mouse") {
        pointerX_ = Number(w[1]);
        pointerY_ = Number(w[2]);
        host.Inject(MakeEvent(RawEvent::Kind::MouseMove));
    } else if (verb == "wheel") {
        pointerX_ = Number(w[1]);
        pointerY_ = Number(w[2]);
        RawEvent event = MakeEvent(RawEvent::Kind::Wheel);
        event.wheelSteps = Number(w[3]);
        host.Inject(event);
    } else if (verb == "click" || verb == "dblclick" || verb == "press" || verb == "release") {
        MouseButton button;
        ParseButton(w, 3, button);
        const int32_t x = Number(w[1]), y = Number(w[2]);
        const int clicks = verb == "dblclick" ? 2 : 1;
        for (int i = 0; i < clicks; ++i) {
            if (verb != "release") Button(host, RawEvent::Kind::ButtonDown, x, y, button);
            if (verb != "press") Button(host, RawEvent::Kind::ButtonUp, x, y, button);
        }
    } else if (verb == "pointer") {
        pointerX_ = -1;
        pointerY_ = -1;
        host.Inject(MakeEvent(RawEvent::Kind::PointerLeft));
    } else if (verb == "focus") {
        host.Inject(MakeEvent(w[1] == "lost" ? RawEvent::Kind::FocusLost
                                             : RawEvent::Kind::FocusGained));
    } else if (verb == "minimize" || verb == "restore" || verb == "maximize" || verb == "close" ||
               verb == "quit") {
        const RawEvent::Kind kind = verb == "minimize" ? RawEvent::Kind::Minimized
                                    : verb == "restore" ? RawEvent::Kind::Restored
                                    : verb == "maximize" ? RawEvent::Kind::Maximized
                                    : verb == "close" ? RawEvent::Kind::Close
                                                      : RawEvent::Kind::Quit;
        host.Inject(MakeEvent(kind));
    } else if (verb == "screenshot") {
        host.Capture().RequestScreenshot(w[1]);
    } else if (verb == "clipboard") {
        host.SetClipboardFromScript(w[1]);
    }
    return true;
}

bool Script::TakesScreenshots() const {
    for (const Command& command : commands_)
        if (command.words[0] == "screenshot") return true;
    return false;
}

void Script::Step(ScriptHost& host) {
    while (next_ < commands_.size()) {
        if (!Execute(commands_[next_], host)) return;
        ++next_;
    }
    if (!quitSent_) {
        quitSent_ = true;
        host.Inject(MakeEvent(RawEvent::Kind::Quit));
    }
}

}  // namespace platform
