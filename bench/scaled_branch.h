// The product's registry branch at a chosen size, laid out over the host's
// own for the snapshot timings: the product key with its values, the setup
// key's four boards and eight stations with theirs, the stations' port keys
// under Enum\Root\Ternway, and scale x 100 extra entries spread over the
// board and station keys (every fourth a subkey with one value, the others
// values of the three kinds the snapshot writes). What the host had there is
// kept first and put back when the object goes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry_backup.h"

namespace bench {

class ScaledBranch {
public:
    ScaledBranch();
    ~ScaledBranch();
    ScaledBranch(const ScaledBranch&) = delete;
    ScaledBranch& operator=(const ScaledBranch&) = delete;

    // Replaces whatever the branch holds by the layout at this scale.
    void Fill(int scale);
    // Keys and values written by the last Fill.
    int Keys() const { return keys_; }
    int Values() const { return values_; }

private:
    void Keep(const std::string& path);
    void PutKey(const std::string& path);
    void PutString(const std::string& path, const char* name, const std::string& value);
    void PutBytes(const std::string& path, const char* name, const void* data, unsigned length);
    void PutDword(const std::string& path, const char* name, unsigned long value);

    std::vector<std::unique_ptr<test_support::RegistryBackup>> kept_;
    int keys_ = 0;
    int values_ = 0;
};

}  // namespace bench
