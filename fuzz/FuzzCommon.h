#pragma once

#include "SaveFile.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzzer's bytes as the text a file of them would read as.
inline QString FuzzText(const std::uint8_t* data, std::size_t size) {
    return gyrodex::DecodeText(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

// A broken invariant is a finding: stop so that the fuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition)
        std::abort();
}
