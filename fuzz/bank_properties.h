#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The properties the fuzz targets hold the text form, the balance check and the conversions
// to. Each returns what failed, or an empty text when the property holds; the fuzz targets
// abort on a failure and the tests run every kept finding through the same functions.

// Text imported leniently, written as a reaction file, exported and imported again gives the
// same file; each equation the checks call balanced is balanced by an independent count, and a
// small equation they call unbalanceable has no small coefficients that balance it.
std::string ImportProperty(const uint8_t* data, std::size_t size);

// Any bytes read as a reaction file: what export accepts imports again to the same records
// (bytes after a text's end aside, which export says it drops).
std::string ExportProperty(const uint8_t* data, std::size_t size);

// Windows-1252 to UTF-8 and back is the identity; UTF-8 the converter accepts is valid UTF-8
// by an independent reading, and comes back unchanged.
std::string ConversionProperty(const uint8_t* data, std::size_t size);
