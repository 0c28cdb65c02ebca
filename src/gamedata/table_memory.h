// Creation of the engine's tables from zeroed memory.
#pragma once

#include <cstddef>

// A zeroed block of count records of recordBytes each, for the table named `what`. The
// memory comes zeroed from the system and is not written here, so untouched pages of a
// large table cost no resident memory. A negative or overflowing size, or a block the
// system refuses, ends the program with a message on standard error and status 1.
void* CreateTable(const char* what, long long count, std::size_t recordBytes);

template <typename T> T* CreateTableOf(const char* what, long long count) {
    return static_cast<T*>(CreateTable(what, count, sizeof(T)));
}
