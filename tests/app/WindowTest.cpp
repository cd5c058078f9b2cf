#include "FakePlatform.h"

namespace {

TEST(WindowTest, OpeningsAndTheirFailuresCloseFirstThenReport) {
    const std::string full = "0 frames, mode 640x480x16, no cursor, window Torvel Square Room 640x480 full, ";
    const std::string closed = "desktop, cursor, destroy 0";
    const std::string refused =
        "0 frames, mode 640x480x16, Quarn GL|The Requested Fullscreen Mode Is Not Supported By\nYour Video "
        "Card. Use Windowed Mode Instead?|1, ";
    const std::string windowed = "0 frames, window Torvel Square Room 640x480, ";
    const struct {
        const char* script;
        std::string log;
    } cases[] = {
        {"Yes +Esc .", full + "proj 640x480, textures deleted, " + closed},
        {"Yes Yes nomode +Esc .", refused +
                                      "window Torvel Square Room 640x480, proj 640x480, textures deleted, "
                                      "destroy 0"},
        {"Yes nomode", refused + "ERROR|Program Will Now Close.|1"},
        {"Yes ctx1", full + closed + ", ERROR|Can't Find A Suitable PixelFormat.|1"},
        {"Yes ctx2", full + closed + ", ERROR|Can't Create A GL Rendering Context.|1"},
        {"Yes ctx3", full + closed + ", ERROR|Can't Activate The GL Rendering Context.|1"},
        {"norender", windowed + "proj 640x480, destroy 0, ERROR|Initialization Failed.|1"},
        {"fail1", windowed + "ERROR|Window Creation Error.|1"},
    };
    for (const auto& c : cases) {
        expectRun(c.script, "", c.log);
    }
}

}  // namespace
