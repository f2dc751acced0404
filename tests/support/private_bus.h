// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace songloader::test {

// A message bus of the test's own (a dbus-daemon), standing in for the session or the system bus,
// with at most one mocked service on it (python3-dbusmock). Both stop with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool ok() const { return !address_.empty() && daemon_ > 0; }
    const std::string& address() const { return address_; }

    // Runs `python3 -m dbusmock <arguments>` with `addressVariable` (DBUS_SESSION_BUS_ADDRESS or
    // DBUS_SYSTEM_BUS_ADDRESS) naming this bus; true once it owns `serviceName`.
    bool StartMock(const std::string& addressVariable, const std::vector<std::string>& arguments,
                   const std::string& serviceName);

private:
    std::string address_;
    pid_t daemon_ = -1;
    pid_t mock_ = -1;
};

}  // namespace songloader::test
