// Functions of shared libraries that are loaded only when first needed (dlopen), so that the
// program does not link them, and their dependencies, at every start.
#pragma once

#include <QString>
#include <QStringList>
#include <span>

// One function to look up: the index of its library in the list of names, its exported name, and
// the function pointer that receives its address.
struct SharedFunction {
    int library;
    const char* name;
    void* pointer;
};

// Opens the libraries of the given file names and stores each function's address in its pointer.
// False, with error telling what failed (the dynamic linker's text), when a library or a function
// is missing; the libraries opened on the way are closed again. Loaded libraries stay loaded for
// the rest of the process.
bool LoadSharedFunctions(const QStringList& names, std::span<const SharedFunction> functions,
                         QString& error);

// A SharedFunction entry for the function pointer member `name` of table, in library.
#define QUILLET_SHARED_FUNCTION(table, library, name)                                              \
    SharedFunction {                                                                               \
        int(library), #name, &(table).name                                                         \
    }
