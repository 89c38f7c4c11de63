// The pictures as a module of their own, loaded only by `qrd render`: the
// other commands then start without Qt's libraries.
#include "qrd/render.h"

extern "C" int qrd_render_module(const std::string* file, const std::string* to,
                                 const qs::qrd::RenderOptions* options, std::ostream* err) {
    return qs::qrd::render(*file, *to, *options, *err);
}
