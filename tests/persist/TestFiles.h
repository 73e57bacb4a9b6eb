#pragma once

#include "Error.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Small file helpers for the persistence tests.
inline void WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

inline QByteArray ReadBytes(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The message of the gyrodex::Error a call raises, or an empty text when it raises none.
template <typename F> QString MessageOf(F&& f) {
    try {
        f();
    } catch (const gyrodex::Error& e) {
        return e.message();
    }
    return {};
}
