#pragma once

#include <mutex>
#include <string>

// The run's diagnostic log. A log call is always the pair SetLocation then
// Write on the same thread: SetLocation takes the logging lock and Write
// releases it, so lines from both threads never interleave. Use ENGINE_LOG.
class Logger {
public:
    // Levels: 0 to 3 are written when at or above the threshold; 4 never is.
    static constexpr int kNever = 4;

    // The first call creates the logger with these values; later calls
    // return it unchanged.
    static Logger& Instance(int threshold = 0, int outputMode = 2);

    void SetLocation(const char* sourceFile, const char* functionName, int line);
    void Write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

private:
    Logger(int threshold, int outputMode);

    std::timed_mutex mutex_;
    int outputMode_;
    int threshold_;
    std::string sourceFile_;
    std::string functionName_;
    int line_ = 0;
};

// Writes one log line; data texts go through "%s", never as the format.
#define ENGINE_LOG(level, ...)                                       \
    do {                                                             \
        Logger& engineLogger = Logger::Instance();                   \
        engineLogger.SetLocation(__FILE__, __func__, __LINE__);      \
        engineLogger.Write(level, __VA_ARGS__);                      \
    } while (0)
