#include "ECommsError.h"

#include <utility>

ECommsError::ECommsError(const char* message, int osError, std::string path)
    : std::runtime_error(message), m_osError(osError), m_path(std::move(path))
{
}
