#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// One stretch of play as the usage report records it.
struct PlayingSession {
    int64_t startTime = 0;  // seconds since 1970-01-01 00:00 UTC
    uint32_t endTime = 0;   // never filled in
    int32_t gameMode = 0;
    int32_t numberOfPlayers = 0;
    bool fullScreen = false;
    uint32_t bitDepth = 0;
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
};

// What the game window tells a session about itself.
struct WindowFacts {
    bool fullScreen = false;
    uint32_t bitDepth = 0;  // the window's bytes per pixel x 8
};

// The local usage record: the total playing time over all runs, kept in the
// registry value "totalplayingtime", and the report "gd.xml" in the game's
// temp folder with the machine facts of the latest run and the playing
// sessions of every run. Nothing leaves the machine. One record exists from
// Start to AddPlayingTime; main thread only.
class DataGathering {
public:
    using TickSource = std::function<uint32_t()>;
    using WindowFactsSource = std::function<WindowFacts()>;

    // Start-up: makes the record, reads the total so far and stores the
    // report's file name as the registry value "dgfilename". `ticks` is the
    // millisecond clock the playing time is measured with.
    static void Start(TickSource ticks = {});
    static DataGathering* Instance();

    // The game window calls this when it exists; until then sessions record
    // a windowed display of depth 0.
    static void SetWindowFactsSource(WindowFactsSource source);

    // Adds a session of this run; nothing happens without a record.
    static void AddPlayingSession(int32_t gameMode, int32_t numberOfPlayers);

    // Shutdown: adds this run's whole seconds to the registry total, writes
    // the report and releases the record; nothing happens without a record.
    static void AddPlayingTime();

    const std::string& ReportFileName() const { return reportFileName_; }
    uint32_t TotalPlayingTime() const { return totalPlayingTime_; }
    const std::vector<PlayingSession>& Sessions() const { return sessions_; }

private:
    explicit DataGathering(TickSource ticks);

    // Merges this run into the report file: the old sessions stay, the
    // machine facts are replaced, this run's sessions are appended.
    void WriteDataGathering() const;

    static std::unique_ptr<DataGathering>& Holder();
    static WindowFactsSource& WindowSource();

    TickSource ticks_;
    std::string reportFileName_;
    uint32_t totalPlayingTime_ = 0;
    uint32_t startTick_ = 0;
    std::vector<PlayingSession> sessions_;
};
