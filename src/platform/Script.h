#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"

// A script of input and screenshot commands played into a run, one command
// a line ('#' starts a comment):
//   wait frames N | wait ms N
//   key NAME | key down NAME | key up NAME | shift key NAME | ctrl key NAME |
//   alt key NAME          (NAME: A, 7, RETURN, BACK, LEFT, F5 ... or a number)
//   type "text" | type open word (the word the running level waits for, from
//                                  the program's SetScriptWordSource)
//   mouse X Y | click X Y [left|right|middle] | dblclick X Y [button] |
//   press X Y [button] | release X Y [button] | wheel X Y STEPS | pointer leave
//   focus lost | focus gained | minimize | restore | maximize | close | quit
//   screenshot NAME (the frame on show) | clipboard "text"
//   repeat N ... end      (the lines between played N times; blocks nest)
// When the script ends the run is asked to quit.
namespace platform {

class FrameCapture;

// What "type open word" types: the program names the word a player would
// type next, or nothing when no level runs. Null: nothing is typed.
using ScriptWordSource = std::function<std::string()>;
void SetScriptWordSource(ScriptWordSource source);

// What a script acts on.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    virtual void Inject(const RawEvent& event) = 0;
    virtual void SetClipboardFromScript(const std::string& utf8) = 0;
    virtual FrameCapture& Capture() = 0;
};

class Script {
public:
    struct Command {
        int line = 0;
        std::vector<std::string> words;
    };

    // Parses the whole text; on a bad line returns null and describes it in
    // `error`.
    static std::unique_ptr<Script> Parse(const std::string& text, std::string& error);
    // The file named by WORDRAIL_SCRIPT, or null when there is none. A file
    // that cannot be read or parsed ends the process with status 3.
    static std::unique_ptr<Script> LoadFromOptions();

    // Runs commands until one waits or the script ends.
    void Step(ScriptHost& host);
    bool Finished() const { return next_ >= commands_.size() && quitSent_; }
    // Whether any command saves a screenshot.
    bool TakesScreenshots() const;

private:
    explicit Script(std::vector<Command> commands) : commands_(std::move(commands)) {}
    bool Execute(const Command& command, ScriptHost& host);   // false: wait
    void TypeText(ScriptHost& host, const std::string& text);
    void Key(ScriptHost& host, uint32_t virtualKey, bool down, bool up, uint32_t modifiers);
    void Button(ScriptHost& host, RawEvent::Kind kind, int32_t x, int32_t y, MouseButton button);
    RawEvent MakeEvent(RawEvent::Kind kind) const;

    std::vector<Command> commands_;
    size_t next_ = 0;
    bool quitSent_ = false;
    bool waiting_ = false;
    uint64_t waitUntilFrame_ = 0;
    uint32_t waitStartMs_ = 0;
    uint32_t waitMs_ = 0;
    uint32_t buttonsHeld_ = 0;
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
};

}  // namespace platform
