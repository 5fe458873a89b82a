// Chains of host ROM records built the way the host passes them, owning their texts.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/hostInterface.h"

struct HostRom {
    std::string crc32, name, publisher = "pub", sourceRom = "src", saveType = "sram", comment;
    int number = 0, size = 0, location = 0, language = 0;
};

class HostChain {
public:
    HostChain() = default;
    explicit HostChain(const std::vector<HostRom>& roms) {
        for (const auto& rom : roms) add(rom);
    }
    HostChain& add(const HostRom& rom) {
        roms_.push_back(rom);
        const HostRom& r = roms_.back();
        lb::HostRomRecord record{};
        record.crc32 = r.crc32.c_str();
        record.name = r.name.c_str();
        record.publisher = r.publisher.c_str();
        record.sourceRom = r.sourceRom.c_str();
        record.saveType = r.saveType.c_str();
        record.comment = r.comment.c_str();
        record.number = r.number;
        record.size = r.size;
        record.location = r.location;
        record.language = r.language;
        records_.push_back(record);
        for (size_t i = 0; i + 1 < records_.size(); ++i) records_[i].next = &records_[i + 1];
        return *this;
    }
    HostChain& key(const std::string& crc32) { return add(HostRom{crc32, "name " + crc32}); }
    lb::HostRomRecord* first() { return records_.empty() ? nullptr : &records_.front(); }

private:
    std::deque<HostRom> roms_;
    std::deque<lb::HostRomRecord> records_;
};
