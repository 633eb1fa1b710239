#include "platform/Script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/Files.h"
#include "platform/FrameCapture.h"
#include "platform/KeyCodes.h"
#include "platform/RunOptions.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

class RecordingHost : public ScriptHost {
public:
    void Inject(const RawEvent& event) override { events.push_back(event); }
    void SetClipboardFromScript(const std::string& utf8) override { clipboard = utf8; }
    FrameCapture& Capture() override { return capture; }

    std::vector<RawEvent> events;
    std::string clipboard;
    FrameCapture capture;
};

std::vector<RawEvent::Kind> Kinds(const std::vector<RawEvent>& events) {
    std::vector<RawEvent::Kind> kinds;
    for (const RawEvent& event : events) kinds.push_back(event.kind);
    return kinds;
}

TEST(Script, BadLinesAreRefusedWithTheirNumber) {
    for (const char* text : {"key NOSUCHKEY", "click 10", "wait frames", "dance", "type \"open",
                             "click 1 2 sideways", "type open words", "repeat 0", "repeat", "end",
                             "repeat 2\nkey A"}) {
        std::string error;
        EXPECT_EQ(Script::Parse(std::string("# fine\n") + text, error), nullptr) << text;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
}

TEST(Script, CommandsPlayInOrderAndWaitForFrames) {
    std::string error;
    auto script = Script::Parse(
        "key RETURN\n"
        "wait frames 2\n"
        "click 10 20\n"
        "type \"ab\"\n"
        "clipboard \"copied\"\n",
        error);
    ASSERT_NE(script, nullptr) << error;
    RecordingHost host;
    script->Step(host);
    EXPECT_EQ(Kinds(host.events),
              (std::vector<RawEvent::Kind>{RawEvent::Kind::KeyDown, RawEvent::Kind::KeyUp}));
    EXPECT_EQ(host.events[0].virtualKey, VK_RETURN);
    host.events.clear();
    const uint8_t pixel[4] = {};
    host.capture.OnPresent(pixel, 1, 1, 4);
    script->Step(host);
    EXPECT_TRUE(host.events.empty());
    host.capture.OnPresent(pixel, 1, 1, 4);
    script->Step(host);
    using K = RawEvent::Kind;
    EXPECT_EQ(Kinds(host.events),
              (std::vector<K>{K::MouseMove, K::ButtonDown, K::ButtonUp, K::KeyDown, K::Text,
                              K::KeyUp, K::KeyDown, K::Text, K::KeyUp, K::Quit}));
    EXPECT_EQ(host.events[1].buttonsHeld, MK_LBUTTON);
    EXPECT_EQ(host.events[2].buttonsHeld, 0u);
    EXPECT_EQ(host.events[4].text, "a");
    EXPECT_EQ(host.clipboard, "copied");
    EXPECT_TRUE(script->Finished());
}

// A character beyond ASCII is typed as one text event, as a keyboard's text
// input sends it, not byte by byte.
TEST(Script, TypedTextSendsEachCharacterWhole) {
    std::string error;
    auto script = Script::Parse("type \"Zo\xC3\xAB\xE2\x82\xAC\"\n", error);
    ASSERT_NE(script, nullptr) << error;
    RecordingHost host;
    script->Step(host);
    std::vector<std::string> texts;
    for (const RawEvent& event : host.events)
        if (event.kind == RawEvent::Kind::Text) texts.push_back(event.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Z", "o", "\xC3\xAB", "\xE2\x82\xAC"}));
}

// A block plays as often as its count says, an inner block within each
// round of the outer one.
TEST(Script, RepeatedBlocksPlayTheirLinesThatOften) {
    std::string error;
    auto script = Script::Parse(
        "repeat 2\n"
        "  key A\n"
        "  repeat 3\n"
        "    key B\n"
        "  end\n"
        "end\n"
        "key C\n",
        error);
    ASSERT_NE(script, nullptr) << error;
    RecordingHost host;
    script->Step(host);
    std::string keys;
    for (const RawEvent& event : host.events)
        if (event.kind == RawEvent::Kind::KeyDown) keys += static_cast<char>(event.virtualKey);
    EXPECT_EQ(keys, "ABBBABBBC");
    EXPECT_TRUE(script->Finished());
}

// The program names the word; when it names none, nothing is typed and the
// script goes on.
TEST(Script, TypeOpenWordTypesWhatTheProgramNames) {
    std::string error;
    auto script = Script::Parse("type open word\ntype open word\n", error);
    ASSERT_NE(script, nullptr) << error;
    std::vector<std::string> named = {"", "ox"};
    SetScriptWordSource([&named] {
        const std::string word = named.back();
        named.pop_back();
        return word;
    });
    RecordingHost host;
    script->Step(host);
    SetScriptWordSource(nullptr);
    std::string typed;
    for (const RawEvent& event : host.events) typed += event.text;
    EXPECT_EQ(typed, "ox");
    using K = RawEvent::Kind;
    EXPECT_EQ(Kinds(host.events),
              (std::vector<K>{K::KeyDown, K::Text, K::KeyUp, K::KeyDown, K::Text, K::KeyUp, K::Quit}));
    EXPECT_EQ(host.events[3].virtualKey, static_cast<uint32_t>('X'));
    EXPECT_TRUE(named.empty());
    EXPECT_TRUE(script->Finished());
}

// Copying every frame costs a run time, so a scripted headless run keeps
// the frame on show only when its script takes screenshots.
TEST(ScriptedCapture, FramesAreKeptOnlyForAScriptThatTakesScreenshots) {
    const TempFolder folder;
    const std::string path = folder.Path() + "/run.script";
    struct Case {
        const char* script;
        bool kept;
    };
    for (const Case& c : {Case{"wait frames 5\n", false}, Case{"wait frames 1\nscreenshot shot\n", true}}) {
        ASSERT_TRUE(WriteFileAtomically(path, c.script, std::strlen(c.script)));
        setenv("WORDRAIL_SCRIPT", path.c_str(), 1);
        ReloadRunOptionsForTesting();
        HeadlessBackend backend;
        const uint8_t pixel[4] = {0x30, 0x20, 0x10, 0xFF};
        ASSERT_TRUE(backend.Present(pixel, 1, 1, 4, false));
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = backend.Frames().LastFrame(width, height);
        EXPECT_EQ(frame, c.kept ? std::vector<uint32_t>{0x102030u} : std::vector<uint32_t>{}) << c.script;
        EXPECT_EQ(backend.Frames().PresentedFrames(), 1u);
    }
    unsetenv("WORDRAIL_SCRIPT");
    ReloadRunOptionsForTesting();
}

// Without kept frames a screenshot comes from the next present, and that
// frame is not kept to pass later for the one on show.
TEST(ScriptedCapture, WithoutKeptFramesAScreenshotWaitsForTheNextPresent) {
    const TempFolder folder;
    setenv("WORDRAIL_SCREENSHOTS", folder.Path().c_str(), 1);
    ReloadRunOptionsForTesting();
    FrameCapture capture;
    capture.SetKeepFrames(false);
    const uint8_t pixel[4] = {};
    capture.OnPresent(pixel, 1, 1, 4);
    const std::string shot = folder.Path() + "/shot.png";
    capture.RequestScreenshot("shot");
    EXPECT_FALSE(std::filesystem::exists(shot));
    capture.OnPresent(pixel, 1, 1, 4);
    EXPECT_TRUE(std::filesystem::exists(shot));
    EXPECT_FALSE(capture.SaveLastFrame("stale"));
    EXPECT_EQ(capture.PresentedFrames(), 2u);
    unsetenv("WORDRAIL_SCREENSHOTS");
    ReloadRunOptionsForTesting();
}

}  // namespace
