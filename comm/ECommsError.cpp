#include "ECommsError.h"

#include <utility>

ECommsError::ECommsError(const char* message, int osError, std::string path)
    : std::runtime_error(message), osError_(osError), path_(std::move(path))
{
}
