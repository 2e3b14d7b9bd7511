// The installation the timings run on, laid out over the host's own: four
// detected boards and eight detected, launched stations with all three
// ports enabled and registered. What it replaces (the product's branch, the
// port registrations and win.ini's port list) is kept first and put back
// when the object goes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "registry_backup.h"

namespace bench {

class BenchInstallation {
public:
    BenchInstallation();
    ~BenchInstallation();
    BenchInstallation(const BenchInstallation&) = delete;
    BenchInstallation& operator=(const BenchInstallation&) = delete;

private:
    void Keep(const std::string& path);
    void LayOut();

    std::vector<std::unique_ptr<test_support::RegistryBackup>> kept_;
    std::string portList_;
};

}  // namespace bench
