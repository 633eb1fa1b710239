#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The run's diagnostic log. Any thread may write: a line is formatted in full
// before the logging lock is taken, so an argument that itself logs or asks
// for the file name cannot deadlock, and lines never interleave. Use
// ENGINE_LOG.
//
// Lines go to stderr (output modes 0 and 2) and to one file per run in the
// folder "log" under the game's temp folder (modes 1 and 2). The file is
// made, with its first line of machine facts, when MakeLogFileName names
// it, which start-up does after this copy holds the single-instance lock and
// knows the game's name; lines logged before that wait in memory. After
// 10,000 lines the file is deleted and begun again.
class Logger {
public:
    // Levels: 0 to 3 are written when at or above the threshold; 4 never is.
    static constexpr int kNever = 4;
    // Lines a file takes before it is begun again.
    static constexpr uint32_t kMaxLinesPerFile = 10000;
    // Room for a message and for a whole line; longer ones are cut.
    static constexpr size_t kLineRoom = 65536;
    // Lines kept while there is no file yet; later ones reach stderr only.
    static constexpr size_t kMaxWaitingLines = 1000;

    // The first call creates the logger with these values; later calls
    // return it unchanged.
    static Logger& Instance(int threshold = 0, int outputMode = 2);

    // The program uses the one from Instance; tests make their own.
    Logger(int threshold, int outputMode);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Writes "<source file>(<line>) : [<function>]\n\t<message>\n".
    void Write(int level, const char* sourceFile, const char* functionName, int line, const char* format, ...)
        __attribute__((format(printf, 6, 7)));

    // Chooses this run's file name once: empties the log folder but for the
    // newest log file (the previous run's, kept for whoever looks into what
    // went wrong then) and names the file after the current UTC time,
    // "yyyy-MM-dd HH-mm-ss.log" (" (2)" and so on before ".log" when a run
    // of the same second has that name), and begins the file with its
    // machine-facts line. Lines waiting for the file are written to it.
    void MakeLogFileName();
    // Start-up: MakeLogFileName, then the file's name goes to the registry
    // value "cdgfilename" (empty when the file could not be made), so a run
    // that never logs still clears the folder and names its own file.
    void RecordLogFile();

    std::string FileName();

private:
    // Holds the logging lock for a scope. A wait is reported every 10 s and
    // goes on: writing unlocked would interleave lines.
    class Hold {
    public:
        explicit Hold(Logger& logger);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Logger& logger_;
    };

    void WriteToFile(const std::string& line);
    void AppendLines(const std::string& lines, uint32_t count);
    // Writes the machine-facts line that every file begins with; false when
    // the file cannot be written.
    bool BeginFile();
    void MakeLogFileNameLocked();

    std::mutex stateMutex_;
    std::condition_variable released_;
    bool held_ = false;
    const int outputMode_;
    const int threshold_;
    std::string fileName_;
    uint32_t linesInFile_ = 0;
    bool fileBegun_ = false;
    std::vector<std::string> waiting_;
};

// The machine-facts line every log file begins with.
std::string MakeMachineFactsLine();

// Writes one log line; data texts go through "%s", never as the format.
#define ENGINE_LOG(level, ...) Logger::Instance().Write(level, __FILE__, __func__, __LINE__, __VA_ARGS__)
