// quovella-mkstore [--if-missing] <path>: makes an empty record store at path.
// Exit status 0 when created (or, with --if-missing, when a file is already there and was
// left alone), 1 on failure, 2 when a file already exists, 64 on bad usage.
#include <cstdio>
#include <string_view>

#include "records/store_schema.h"

int main(int argc, char** argv) {
    bool ifMissing = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--if-missing") {
            ifMissing = true;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::fprintf(stderr, "usage: quovella-mkstore [--if-missing] <path>\n");
        return 64;
    }
    switch (quovella::makeEmptyStore(path)) {
        case quovella::MakeStoreResult::created:
            std::printf("created %s\n", path);
            return 0;
        case quovella::MakeStoreResult::alreadyExists:
            std::fprintf(stderr, "%s already exists; left unchanged\n", path);
            return ifMissing ? 0 : 2;
        case quovella::MakeStoreResult::failed:
            break;
    }
    std::fprintf(stderr, "could not create %s\n", path);
    return 1;
}
