#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The run's diagnostic log. A log call is always the pair SetLocation then
// Write on the same thread: SetLocation takes the logging lock and Write
// releases it, so lines from both threads never interleave. Use ENGINE_LOG.
//
// Lines go to stderr (output modes 0 and 2) and to one file per run in the
// folder "log" under the game's temp folder (modes 1 and 2). Every file
// begins with a line of machine facts; after 10,000 lines the file is
// deleted and begun again.
class Logger {
public:
    // Levels: 0 to 3 are written when at or above the threshold; 4 never is.
    static constexpr int kNever = 4;
    // Lines a file takes before it is begun again.
    static constexpr uint32_t kMaxLinesPerFile = 10000;
    // Room for a message and for a whole line; longer ones are cut.
    static constexpr size_t kLineRoom = 65536;

    // The first call creates the logger with these values; later calls
    // return it unchanged.
    static Logger& Instance(int threshold = 0, int outputMode = 2);

    // The program uses the one from Instance; tests make their own.
    Logger(int threshold, int outputMode);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void SetLocation(const char* sourceFile, const char* functionName, int line);
    void Write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // Chooses this run's file name once: empties the log folder and names
    // the file after the current UTC time, "yyyy-MM-dd HH-mm-ss.log".
    void MakeLogFileName();
    // Start-up: MakeLogFileName, then the file's name goes to the registry
    // value "cdgfilename", so a run that never logs still empties the folder.
    void RecordLogFile();

    std::string FileName();

private:
    // Releases the logging lock when it goes out of scope.
    class Unlocker {
    public:
        explicit Unlocker(Logger& logger) : logger_(logger) {}
        Unlocker(const Unlocker&) = delete;
        Unlocker& operator=(const Unlocker&) = delete;
        ~Unlocker() { logger_.Unlock(); }

    private:
        Logger& logger_;
    };

    // The logging lock is held from SetLocation to Write, across calls, so it
    // is a flag guarded by a mutex rather than a mutex held that long.
    void Lock();
    void Unlock();
    void MakeLogFileNameLocked();
    void WriteToFile(const char* line);

    std::mutex stateMutex_;
    std::condition_variable released_;
    bool held_ = false;
    int outputMode_;
    int threshold_;
    std::string fileName_;
    std::string sourceFile_;
    std::string functionName_;
    int line_ = 0;
    uint32_t linesInFile_ = 0;
    std::vector<char> message_;
    std::vector<char> text_;
};

// The machine-facts line every log file begins with.
std::string MakeMachineFactsLine();

// Writes one log line; data texts go through "%s", never as the format.
#define ENGINE_LOG(level, ...)                                       \
    do {                                                             \
        Logger& engineLogger = Logger::Instance();                   \
        engineLogger.SetLocation(__FILE__, __func__, __LINE__);      \
        engineLogger.Write(level, __VA_ARGS__);                      \
    } while (0)
