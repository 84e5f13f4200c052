#include "PasswordCheck.h"

namespace zk {

bool passwordAccepted(const std::string& typed, const std::string& stored)
{
    // std::string compares every byte, embedded NULs and high bytes included.
    return typed == stored;
}

} // namespace zk
