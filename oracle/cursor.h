// A cursor data area opened on a session for the length of one statement and closed on
// every way out of the scope that opened it.
#pragma once

#include "oracle/client_binding.h"

#include <cstdint>
#include <cstring>

class Cursor {
public:
    explicit Cursor(OciDataArea *logonArea) {
        std::memset(&area_, 0, sizeof area_);
        gFuncs.my_oopen(&area_, logonArea, nullptr, -1, -1, nullptr, -1);
    }
    ~Cursor() { gFuncs.my_oclose(&area_); }
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    OciDataArea *area() { return &area_; }
    // Error number of the last operation on the cursor (0 = success).
    uint16_t rc() const { return area_.rc; }
    // SQL function code of the parsed statement.
    uint16_t functionCode() const { return area_.functionCode; }
    uint16_t parseErrorOffset() const { return area_.parseErrorOffset; }
    uint32_t rowsProcessed() const { return area_.rowsProcessed; }

private:
    OciDataArea area_;
};
