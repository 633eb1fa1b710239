#include "engine/foundation/Logger.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/RegistryValues.h"
#include "engine/foundation/SystemInfo.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/Time.h"

namespace {

// The longest source file and function names a line carries.
constexpr size_t kMaxSourceFile = 254;
constexpr size_t kMaxFunctionName = 256;

}  // namespace

std::string MakeMachineFactsLine() {
    const SystemInfo info;
    char line[4096];
    std::snprintf(line, sizeof line,
                  "GameName[%s]CompName[%s]CPUSpeed[%d]CPUType[%d]NumberOfCPUs[%d]CPUCaps[%d]OSName[%s]"
                  "WinBuild[%d]SysMem[%d]DirectX[#%04x]Screen[%dx%dx%d]\n",
                  GetGameName().c_str(), info.computerName.c_str(), static_cast<int>(info.cpuSpeed),
                  static_cast<int>(info.cpuType), static_cast<int>(info.numberOfCpus), 0, info.osName.c_str(),
                  static_cast<int>(info.buildNumber), static_cast<int>(GetSystemMemory()), info.directXVersion,
                  static_cast<int>(info.screenWidth), static_cast<int>(info.screenHeight),
                  static_cast<int>(info.bitDepth));
    return line;
}

Logger& Logger::Instance(int threshold, int outputMode) {
    static Logger logger(threshold, outputMode);
    return logger;
}

Logger::Logger(int threshold, int outputMode)
    : outputMode_(outputMode), threshold_(threshold), message_(kLineRoom), text_(kLineRoom) {}

void Logger::Lock() {
    // A wait that times out is reported and the wait goes on: writing
    // unlocked would interleave lines.
    std::unique_lock<std::mutex> state(stateMutex_);
    while (!released_.wait_for(state, std::chrono::milliseconds(10000), [this] { return !held_; })) {
        std::fputs("Logger: still waiting for the logging lock\n", stderr);
    }
    held_ = true;
}

void Logger::Unlock() {
    {
        std::lock_guard<std::mutex> state(stateMutex_);
        held_ = false;
    }
    released_.notify_one();
}

void Logger::SetLocation(const char* sourceFile, const char* functionName, int line) {
    Lock();
    sourceFile_.assign(sourceFile, strnlen(sourceFile, kMaxSourceFile));
    functionName_.assign(functionName, strnlen(functionName, kMaxFunctionName));
    line_ = line;
}

void Logger::Write(int level, const char* format, ...) {
    const Unlocker unlocker(*this);
    if (level == kNever || level < threshold_) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message_.data(), message_.size(), format, arguments);
    va_end(arguments);
    std::snprintf(text_.data(), text_.size(), "%s(%d) : [%s]\n\t%s\n", sourceFile_.c_str(), line_,
                  functionName_.c_str(), message_.data());
    if (outputMode_ == 0 || outputMode_ == 2) {
        std::fputs(text_.data(), stderr);
    }
    if (outputMode_ == 1 || outputMode_ == 2) {
        WriteToFile(text_.data());
    }
    if (++linesInFile_ > kMaxLinesPerFile) {
        if (!fileName_.empty()) {
            platform::RemoveFile(fileName_);
        }
        linesInFile_ = 0;
    }
}

void Logger::WriteToFile(const char* line) {
    // Until the game's name is known the game has no folder of its own, and
    // the shared one above it is no place for its log.
    if (GetGameName().empty()) {
        return;
    }
    if (linesInFile_ == 0) {
        MakeLogFileNameLocked();
    }
    std::string content;
    if (linesInFile_ == 0) {
        content = MakeMachineFactsLine();
    }
    content += line;
    platform::AppendToFile(fileName_, content.data(), content.size());
}

void Logger::MakeLogFileName() {
    Lock();
    const Unlocker unlocker(*this);
    MakeLogFileNameLocked();
}

void Logger::MakeLogFileNameLocked() {
    if (!fileName_.empty()) {
        return;
    }
    const platform::UtcTime now = platform::NowUtc();
    const std::string folder = GetGameTempFolder() + "/log/";
    DeleteFolderTree(folder);
    MakeDirectoryChain(folder.substr(0, folder.size() - 1));
    fileName_ = folder + platform::FormatDateTimeForFileName(now) + ".log";
}

void Logger::RecordLogFile() {
    Lock();
    const Unlocker unlocker(*this);
    MakeLogFileNameLocked();
    RegistryString record(MakeEngineRegistryPath("cdgfilename"), false, "");
    record.SetValue(fileName_);
    record.Write();
}

std::string Logger::FileName() {
    Lock();
    const Unlocker unlocker(*this);
    return fileName_;
}
