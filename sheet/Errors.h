#pragma once

#include <stdexcept>
#include <string>

namespace sheet {

// Every failure of the engine is one of these; the description is meant for a person.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file cannot be read or written.
class FileError : public Error {
public:
    using Error::Error;
};

// The bytes are not a workbook, or the workbook is damaged.
class FormatError : public Error {
public:
    using Error::Error;
};

// The workbook is encrypted and no password at hand opens it: the one given is wrong, or none was
// given and the built-in default password is not the one.
class PasswordError : public FormatError {
public:
    using FormatError::FormatError;
};

// The object can no longer be used: the instance has quit or the workbook is closed.
class StateError : public Error {
public:
    using Error::Error;
};

// A caller passed a value the operation cannot take: a bad row or column, an unknown file format code.
class ArgumentError : public Error {
public:
    using Error::Error;
};

// A write would change part of what changes only as a whole: an array formula or a data table.
class PartialRangeError : public Error {
public:
    using Error::Error;
};

} // namespace sheet
