#include "engine/foundation/Logger.h"

#include <algorithm>
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
constexpr std::chrono::milliseconds kLockReportInterval{10000};

// The message, cut to the room a line has for it.
std::string FormatMessage(const char* format, va_list arguments) {
    va_list again;
    va_copy(again, arguments);
    char small[512];
    const int needed = std::vsnprintf(small, sizeof small, format, arguments);
    std::string message;
    if (needed >= 0 && static_cast<size_t>(needed) < sizeof small) {
        message.assign(small, static_cast<size_t>(needed));
    } else if (needed >= 0) {
        message.resize(std::min(static_cast<size_t>(needed), Logger::kLineRoom - 1) + 1);
        std::vsnprintf(message.data(), message.size(), format, again);
        message.pop_back();
    }
    va_end(again);
    return message;
}

// Empties the log folder but for the newest log file, the previous run's.
void KeepOnlyTheNewestLog(const std::string& folder) {
    std::vector<platform::DirectoryEntry> entries;
    platform::ListDirectory(folder, entries);
    std::string newest;
    uint64_t newestTime = 0;
    for (const platform::DirectoryEntry& entry : entries) {
        uint64_t written = 0;
        if (!entry.isDirectory && !entry.isSymlink && platform::FileExists(folder + entry.name) &&
            platform::LastWriteFileTime(folder + entry.name, written) &&
            (newest.empty() || written > newestTime || (written == newestTime && entry.name > newest))) {
            newest = entry.name;
            newestTime = written;
        }
    }
    for (const platform::DirectoryEntry& entry : entries) {
        if (entry.name == newest) {
            continue;
        }
        if (entry.isDirectory) {
            DeleteFolderTree(folder + entry.name);
        } else {
            platform::RemoveFile(folder + entry.name);
        }
    }
}

// The run's file name from its start time; a second run in the same second
// gets a number, so that it never writes into the file of the one before.
std::string FreeLogFileName(const std::string& folder, const std::string& stamp) {
    std::string name = folder + stamp + ".log";
    for (int number = 2; platform::PathExists(name); ++number) {
        name = folder + stamp + " (" + std::to_string(number) + ").log";
    }
    return name;
}

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

Logger::Logger(int threshold, int outputMode) : outputMode_(outputMode), threshold_(threshold) {}

Logger::Hold::Hold(Logger& logger) : logger_(logger) {
    std::unique_lock<std::mutex> state(logger_.stateMutex_);
    while (!logger_.released_.wait_for(state, kLockReportInterval, [this] { return !logger_.held_; })) {
        std::fputs("Logger: still waiting for the logging lock\n", stderr);
    }
    logger_.held_ = true;
}

Logger::Hold::~Hold() {
    {
        const std::lock_guard<std::mutex> state(logger_.stateMutex_);
        logger_.held_ = false;
    }
    logger_.released_.notify_one();
}

void Logger::Write(int level, const char* sourceFile, const char* functionName, int line, const char* format, ...) {
    if (level == kNever || level < threshold_) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    const std::string message = FormatMessage(format, arguments);
    va_end(arguments);
    std::string text;
    text.append(sourceFile, strnlen(sourceFile, kMaxSourceFile));
    text += "(" + std::to_string(line) + ") : [";
    text.append(functionName, strnlen(functionName, kMaxFunctionName));
    text += "]\n\t";
    text += message;
    text += '\n';
    if (text.size() >= kLineRoom) {
        text.resize(kLineRoom - 1);
    }

    const Hold hold(*this);
    if (outputMode_ == 0 || outputMode_ == 2) {
        std::fputs(text.c_str(), stderr);
    }
    if (outputMode_ == 1 || outputMode_ == 2) {
        WriteToFile(text);
    }
}

void Logger::WriteToFile(const std::string& line) {
    if (fileName_.empty()) {
        if (waiting_.size() < kMaxWaitingLines) {
            waiting_.push_back(line);
        }
        return;
    }
    AppendLines(line, 1);
}

void Logger::AppendLines(const std::string& lines, uint32_t count) {
    platform::AppendToFile(fileName_, lines.data(), lines.size());
    linesInFile_ += count;
    if (linesInFile_ > kMaxLinesPerFile) {
        platform::RemoveFile(fileName_);
        BeginFile();
    }
}

bool Logger::BeginFile() {
    const std::string facts = MakeMachineFactsLine();
    linesInFile_ = 0;
    return platform::AppendToFile(fileName_, facts.data(), facts.size());
}

void Logger::MakeLogFileName() {
    const Hold hold(*this);
    MakeLogFileNameLocked();
}

void Logger::MakeLogFileNameLocked() {
    if (!fileName_.empty()) {
        return;
    }
    const platform::UtcTime now = platform::NowUtc();
    const std::string folder = GetGameTempFolder() + "/log/";
    KeepOnlyTheNewestLog(folder);
    MakeDirectoryChain(folder.substr(0, folder.size() - 1));
    fileName_ = FreeLogFileName(folder, platform::FormatDateTimeForFileName(now));
    fileBegun_ = BeginFile();
    if (!waiting_.empty()) {
        std::string lines;
        for (const std::string& line : waiting_) {
            lines += line;
        }
        AppendLines(lines, static_cast<uint32_t>(waiting_.size()));
        waiting_.clear();
    }
}

void Logger::RecordLogFile() {
    const Hold hold(*this);
    MakeLogFileNameLocked();
    RegistryString record(MakeEngineRegistryPath("cdgfilename"), false, "");
    // Only a file that is there is named: a log folder that cannot be
    // written names none.
    record.SetValue(fileBegun_ ? fileName_ : std::string());
    record.Write();
}

std::string Logger::FileName() {
    const Hold hold(*this);
    return fileName_;
}
