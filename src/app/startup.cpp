// Start-up and shut-down of the main window, and the settings kept between
// runs.
#include "app/mainform.h"
#include "document/mapfile.h"
#include "document/numtext.h"
#include "editor/editvalues.h"

namespace qs {

namespace {

constexpr const char* kSection = "Settings";

// A stored value that holds no number takes the default, as an absent one
// does; a stored value beyond the single range is capped.
double storednumber(ui::SettingsStore& store, const char* key, const char* fallback) {
    const std::string text = store.get(kAppTitle, kSection, key, fallback);
    return readnum(hasnumber(text) ? text : std::string(fallback));
}

} // namespace

void MainForm::start() {
    load();
    services.filedialog.setfilter(kMapFilter);
    copies_.claim();
    if (recoveryoffered())
        status(std::string("Unsaved work kept: press ") + kRecoverKey + " to recover it");
}

void MainForm::load() {
    ui::SettingsStore& store = services.settings;
    left = tosingle(storednumber(store, "MainLeft", "1000"));
    top = tosingle(storednumber(store, "MainTop", "1000"));
    // The slider keeps the grey level within 0 to 255. Setting it here raises
    // nothing: start-up shows "Status", not a background change.
    Slider1.preset(towhole32(storednumber(store, "Background", "0")));
    Map.setbackcolor(grey(Slider1.value()));
    refreshlist();
    newrandompreset();
}

void MainForm::unload() {
    ui::SettingsStore& store = services.settings;
    if (!minimised) {
        store.set(kAppTitle, kSection, "MainLeft", plainnum(left));
        store.set(kAppTitle, kSection, "MainTop", plainnum(top));
    }
    store.set(kAppTitle, kSection, "Background",
              plainnum(static_cast<std::int32_t>(Slider1.value())));
    // Closing asks nothing: what is not saved stays in the recovery copy,
    // which the next editor to start offers.
    if (modified())
        keepcopy();
    else
        changed();
    copies_.release();
}

} // namespace qs
