#include "engine/foundation/Logger.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

Logger& Logger::Instance(int threshold, int outputMode) {
    static Logger logger(threshold, outputMode);
    return logger;
}

Logger::Logger(int threshold, int outputMode) : outputMode_(outputMode), threshold_(threshold) {}

void Logger::SetLocation(const char* sourceFile, const char* functionName, int line) {
    // A wait that times out is reported and the wait goes on: writing
    // unlocked would interleave lines.
    while (!mutex_.try_lock_for(std::chrono::milliseconds(10000))) {
        std::fputs("Logger: still waiting for the logging lock\n", stderr);
    }
    sourceFile_ = sourceFile;
    functionName_ = functionName;
    line_ = line;
}

void Logger::Write(int level, const char* format, ...) {
    std::unique_lock<std::timed_mutex> lock(mutex_, std::adopt_lock);
    if (level == kNever || level < threshold_) {
        return;
    }
    char message[65536];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    if (outputMode_ == 0 || outputMode_ == 2) {
        std::fprintf(stderr, "%s(%d) : [%s]\n\t%s\n", sourceFile_.c_str(), line_, functionName_.c_str(), message);
    }
}
