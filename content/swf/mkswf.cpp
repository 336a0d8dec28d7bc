#include "SwfWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// Writes the sample courseware to the path given.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out.swf\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    if (out.has_parent_path())
        std::filesystem::create_directories(out.parent_path());
    const auto bytes = tx::swf::sampleCourseware();
    std::ofstream f(out, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
