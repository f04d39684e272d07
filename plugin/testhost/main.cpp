// lumiplug-host: loads Lumiplug and plays the host editor for one export (or
// the about box), printing what happened.
//
//   lumiplug-host [--module PATH] [--mode rgb|grey] [--depth 8|16|32]
//                 [--planes N] [--size WxH] [--name DOCUMENT]
//                 [--abort-at K] [--fail-at K[:CODE]] [--handle-procs VERSION:COUNT]
//                 [--launch] [--about] [--continue]
//
// Without --launch the start of Lumivex is recorded and printed instead of run.

#include "plugin/testhost/TestHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: lumiplug-host [--module PATH] [--mode rgb|grey] [--depth 8|16|32] [--planes N]\n"
                 "                     [--size WxH] [--name DOCUMENT] [--abort-at K] [--fail-at K[:CODE]]\n"
                 "                     [--handle-procs VERSION:COUNT] [--launch] [--about] [--continue]\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::string module = lumiplug_host::DefaultModulePath();
    std::string mode = "rgb";
    lumiplug_host::ImageSetup image;
    int abortAt = -1;
    int failAt = -1;
    int failCode = -1;
    int handleVersion = 1;
    int handleCount = 8;
    bool launch = false;
    bool about = false;
    bool callContinue = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--module" && hasValue) {
            module = argv[++i];
        } else if (arg == "--mode" && hasValue) {
            mode = argv[++i];
        } else if (arg == "--depth" && hasValue) {
            image.depth = static_cast<int16>(std::atoi(argv[++i]));
        } else if (arg == "--planes" && hasValue) {
            image.planes = static_cast<int16>(std::atoi(argv[++i]));
        } else if (arg == "--size" && hasValue) {
            int w = 0;
            int h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2) {
                usage();
                return 2;
            }
            image.width = w;
            image.height = h;
        } else if (arg == "--name" && hasValue) {
            image.document = argv[++i];
        } else if (arg == "--abort-at" && hasValue) {
            abortAt = std::atoi(argv[++i]);
        } else if (arg == "--fail-at" && hasValue) {
            const std::string value = argv[++i];
            failAt = std::atoi(value.c_str());
            const size_t colon = value.find(':');
            if (colon != std::string::npos)
                failCode = std::atoi(value.c_str() + colon + 1);
        } else if (arg == "--handle-procs" && hasValue) {
            if (std::sscanf(argv[++i], "%d:%d", &handleVersion, &handleCount) != 2) {
                usage();
                return 2;
            }
        } else if (arg == "--launch") {
            launch = true;
        } else if (arg == "--about") {
            about = true;
        } else if (arg == "--continue") {
            callContinue = true;
        } else {
            usage();
            return 2;
        }
    }
    if (mode == "rgb") {
        image.mode = image.depth == 16 ? plugInModeRGB48 : (image.depth == 32 ? plugInModeRGB96 : plugInModeRGBColor);
    } else if (mode == "grey" || mode == "gray") {
        image.mode = image.depth == 16 ? plugInModeGray16 : (image.depth == 32 ? plugInModeGray32 : plugInModeGrayScale);
        if (image.planes == 3)
            image.planes = 1;
    } else {
        usage();
        return 2;
    }

    lumiplug_host::Host host(module);
    if (!host.Loaded()) {
        std::fprintf(stderr, "cannot load %s: %s\n", module.c_str(), host.LoadError().c_str());
        return 1;
    }
    host.image = image;
    host.abortAtCheck = abortAt;
    host.failAtChunk = failAt;
    host.failCode = static_cast<int16>(failCode);
    host.handleConfig.version = static_cast<int16>(handleVersion);
    host.handleConfig.count = static_cast<uint16>(handleCount);
    host.recordStarts = !launch;
    host.PrepareRecord();

    if (about) {
        const int16 result = host.About();
        std::printf("about: %d (host events %zu)\n", result, host.hostEvents.size());
        return result == 0 ? 0 : 1;
    }
    if (callContinue) {
        const int16 result = host.Call(exportSelectorContinue);
        std::printf("continue: %d\n", result);
        return 0;
    }
    const lumiplug_host::Host::ExportResult r = host.Export();
    std::printf("prepare: %d\nstart: %d\nfinish: %d\n", r.prepare, r.start, r.finish);
    std::printf("requests: %zu\nprogress calls: %zu\n", host.requests.size(), host.progress.size());
    if (const SGlobals* globals = host.Globals())
        std::printf("file: %s\n", globals->path);
    for (const auto& start : host.starts) {
        std::printf("start:");
        for (const std::string& a : start)
            std::printf(" [%s]", a.c_str());
        std::printf("\n");
    }
    return r.prepare == 0 && r.start == 0 && r.finish == 0 ? 0 : 1;
}
