// The exception OpenPort raises. what() is always one of the fixed texts
// below; the errno of the failed step and the path ride along so the port
// choice can explain the reason to the user (see OpenFailure.h).
#pragma once

#include <stdexcept>
#include <string>

namespace CommText {
inline constexpr const char* AlreadyOpened = "This serial port already opened";
inline constexpr const char* ErrorOpening = "Error opening serial port";
inline constexpr const char* NotCommHandle = "File handle is not a comm handle ";
inline constexpr const char* CannotSetupBuffer = "Cannot setup comm buffer";
inline constexpr const char* UnableCreateEvent = "Unable to create event";
inline constexpr const char* UnableCreateReadThread = "Unable to create read thread";
inline constexpr const char* UnableCreateWriteThread = "Unable to create write thread";
}  // namespace CommText

class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const char* message, int osError = 0, std::string path = {});

    // errno of the step that failed, 0 when no system call failed.
    int osError() const noexcept { return osError_; }
    // The CommName the open was attempted with.
    const std::string& path() const noexcept { return path_; }

private:
    int osError_;
    std::string path_;
};
