// Writes the banner movie to the path given on the command line. The build runs it to place
// Template/bannerloop2.swf beside the executables.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

#include "banner_movie.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "bannermovie") << " OUTPUT.swf\n";
        return 2;
    }
    try {
        const std::string movie = bannermovie::BuildBannerMovie();
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(movie.data(), static_cast<std::streamsize>(movie.size()));
        out.close();
        if (!out) {
            std::cerr << "cannot write " << argv[1] << "\n";
            std::remove(argv[1]);  // leave no half-written movie for the build to copy
            return 1;
        }
    } catch (const std::exception& failure) {
        std::cerr << "cannot build the banner movie: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
