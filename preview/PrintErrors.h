#pragma once
// The errors of previewing and printing, apart from the drawing surface so that the
// printers below it can throw them.
#include <QString>
#include <stdexcept>

#include "base/Encoding.h"

namespace qm {

class PreviewException : public std::runtime_error {
public:
    explicit PreviewException(const QString& msg) : std::runtime_error(MessageBytes(msg)) {}
    explicit PreviewException(const char* msg) : std::runtime_error(msg) {}
};

class PrintException : public std::runtime_error {
public:
    explicit PrintException(const QString& msg) : std::runtime_error(MessageBytes(msg)) {}
    explicit PrintException(const char* msg) : std::runtime_error(msg) {}
};

} // namespace qm
