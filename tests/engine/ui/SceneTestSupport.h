#pragma once

#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"

// A scene that writes what is done to it into a shared log.
class LoggingScene : public Scene {
public:
    LoggingScene(Property* definition, std::vector<std::string>& log) : Scene(definition), log_(log) {}
    void Build() override {
        Scene::Build();
        log_.push_back(GetName() + " build");
    }
    void Activate() override {
        Scene::Activate();
        log_.push_back(GetName() + " activate");
    }
    void Deactivate() override {
        Scene::Deactivate();
        log_.push_back(GetName() + " deactivate");
    }
    void Update(int32_t) override { log_.push_back(GetName() + " frame"); }

private:
    std::vector<std::string>& log_;
};

// The controls' resources plus a dialog table read from `dialogsXml` (the
// body of "dialogs") and a scene manager.
class SceneTest : public UiTest {
protected:
    void UseDialogs(const std::string& dialogsXml) {
        const std::string text = "<root><Node id=\"dialogs\">" + dialogsXml + "</Node></root>";
        const std::string path = folder_.Path() + "/dialogs.xml";
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
        DialogTable::Create(path);
    }

    ~SceneTest() override {
        SceneManager::ReleaseInstance();
        DialogTable::ReleaseInstance();
    }

    Ref<LoggingScene> MakeScene(const std::string& name, const std::string& body = "") {
        Ref<PropertyFile> file = ParseDefinitions("<root><Scene id=\"" + name + "\">" + body + "</Scene></root>");
        definitions_.push_back(file);
        return Ref<LoggingScene>(new LoggingScene(Property::Child(file.Get(), name), log_));
    }

    std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

    SceneManager* manager_ = SceneManager::Create();
    std::vector<std::string> log_;
    std::vector<Ref<PropertyFile>> definitions_;
};
