#include "engine/foundation/DataGathering.h"

#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RegistryValues.h"
#include "engine/foundation/SystemInfo.h"
#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/Time.h"

namespace {

const char* const kTotalPlayingTime = "totalplayingtime";

// The child of that name and kind, made anew (replacing whatever had the
// name) when it is missing or of another kind.
template <typename Child>
Child& EnsureChild(PropertyNode& parent, const std::string& name, int kind) {
    Property* found = parent.Find(name);
    if (found == nullptr || found->GetKind() != kind) {
        found = parent.Add(kind == Property::kNode ? new PropertyNode(name, "Node") : new PropertyVector(name));
    }
    return static_cast<Child&>(*found);
}

void AddInteger(PropertyNode& node, const char* name, int64_t value) {
    node.Add(PropertyValue::FromInteger(name, static_cast<int>(value), false));
}

void FillSystemInfo(PropertyNode& node) {
    const SystemInfo info;
    node.Add(PropertyValue::FromString("GameId", GetGameId(), false));
    node.Add(PropertyValue::FromString("CompName", info.computerName, false));
    AddInteger(node, "CPUSpeed", info.cpuSpeed);
    AddInteger(node, "CPUType", info.cpuType);
    AddInteger(node, "NumberOfCPUs", info.numberOfCpus);
    AddInteger(node, "CPUCaps", 0);
    node.Add(PropertyValue::FromString("OSName", info.osName, false));
    AddInteger(node, "WinBuild", info.buildNumber);
    AddInteger(node, "SysMem", GetSystemMemory());
    node.Add(PropertyValue::FromString("DirectX", FormatDirectXVersion(info.directXVersion), false));
    AddInteger(node, "ScreenWidth", info.screenWidth);
    AddInteger(node, "ScreenHeight", info.screenHeight);
    AddInteger(node, "BitDepth", info.bitDepth);
}

Ref<PropertyFile> MakeEmptyReport(const std::string& fileName) {
    Ref<PropertyFile> report(new PropertyFile());
    report->SetLoadMode(LoadMode::File);
    report->SetOutputFileName(fileName);
    return report;
}

PropertyNode* MakeSessionNode(const PlayingSession& session) {
    PropertyNode* node = new PropertyNode("PlayingSession", "Node");
    AddInteger(*node, "StartTime", session.startTime);
    AddInteger(*node, "EndTime", session.endTime);
    AddInteger(*node, "GameMode", session.gameMode);
    AddInteger(*node, "NumOfPlayers", session.numberOfPlayers);
    node->Add(PropertyValue::FromBool("FullScreen", session.fullScreen, false));
    AddInteger(*node, "BitDepth", session.bitDepth);
    AddInteger(*node, "ScreenWidth", session.screenWidth);
    AddInteger(*node, "ScreenHeight", session.screenHeight);
    return node;
}

}  // namespace

std::unique_ptr<DataGathering>& DataGathering::Holder() {
    static std::unique_ptr<DataGathering> record;
    return record;
}

DataGathering::WindowFactsSource& DataGathering::WindowSource() {
    static WindowFactsSource source;
    return source;
}

DataGathering::DataGathering(TickSource ticks) : ticks_(std::move(ticks)) {
    if (!ticks_) {
        ticks_ = platform::TickCountMs;
    }
    RegistryDword total(MakeEngineRegistryPath(kTotalPlayingTime), false, 0);
    totalPlayingTime_ = total.Read();
    startTick_ = ticks_();
    reportFileName_ = GetGameTempFolder() + "/gd.xml";
    RegistryString fileName(MakeEngineRegistryPath("dgfilename"), false, "");
    fileName.SetValue(reportFileName_);
    fileName.Write();
}

void DataGathering::Start(TickSource ticks) {
    Holder().reset(new DataGathering(std::move(ticks)));
}

DataGathering* DataGathering::Instance() {
    return Holder().get();
}

void DataGathering::SetWindowFactsSource(WindowFactsSource source) {
    WindowSource() = std::move(source);
}

void DataGathering::AddPlayingSession(int32_t gameMode, int32_t numberOfPlayers) {
    DataGathering* record = Instance();
    if (record == nullptr) {
        return;
    }
    const WindowFacts window = WindowSource() ? WindowSource()() : WindowFacts{};
    const platform::DesktopMode desktop = platform::ActiveBackend().Desktop();
    PlayingSession session;
    session.startTime = platform::UnixSeconds();
    session.gameMode = gameMode;
    session.numberOfPlayers = numberOfPlayers;
    session.fullScreen = window.fullScreen;
    session.bitDepth = window.bitDepth;
    session.screenWidth = static_cast<uint32_t>(desktop.width);
    session.screenHeight = static_cast<uint32_t>(desktop.height);
    record->sessions_.push_back(session);
}

void DataGathering::AddPlayingTime() {
    std::unique_ptr<DataGathering> record = std::move(Holder());
    if (!record) {
        return;
    }
    // Unsigned arithmetic keeps the difference right across the tick wrap.
    const uint32_t playedSeconds = platform::TicksElapsed(record->startTick_, record->ticks_()) / 1000;
    RegistryDword total(MakeEngineRegistryPath(kTotalPlayingTime), false, 0);
    total.SetValue(record->totalPlayingTime_ + playedSeconds);
    total.Write();
    record->WriteDataGathering();
}

void DataGathering::WriteDataGathering() const {
    Ref<PropertyFile> report = MakeEmptyReport(reportFileName_);
    if (platform::FileExists(reportFileName_) && report->LoadOne(reportFileName_)) {
        Property* gathered = report->Find("DataGathering");
        if (gathered == nullptr || gathered->GetKind() != Property::kNode) {
            ENGINE_LOG(2, "Usage report %s has no DataGathering node; it is begun anew", reportFileName_.c_str());
            report = MakeEmptyReport(reportFileName_);
        }
    }
    PropertyNode& gathered = EnsureChild<PropertyNode>(*report, "DataGathering", Property::kNode);
    PropertyNode& systemInfo = EnsureChild<PropertyNode>(gathered, "SystemInfo", Property::kNode);
    systemInfo.Clear();
    FillSystemInfo(systemInfo);
    PropertyVector& sessions = EnsureChild<PropertyVector>(gathered, "PlayingSessions", Property::kVector);
    for (const PlayingSession& session : sessions_) {
        sessions.Add(MakeSessionNode(session));
    }
    report->Save();
}
