#pragma once
// The main window of the core: the block table, the window state, every
// control and the handlers wired to their notifications. It links no toolkit;
// the real window mirrors it.
#include "app/recoverycopies.h"
#include "document/block.h"
#include "document/document.h"
#include "document/filesystem.h"
#include "document/rowtext.h"
#include "document/signal.h"
#include "ui/controls.h"
#include "ui/platform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qs {

inline constexpr const char* kAppTitle = "Quarrystead";
inline constexpr const char* kMapFilter = "Cairnwork(*.QRD)|*.QRD";

// The key that takes the recovery copy of an earlier run, as its offer
// names it.
inline constexpr const char* kRecoverKey = "Ctrl+R";
// What the status bar and the question before a quick save say of a file
// that another program changed, after its name.
inline constexpr const char* kChangedOnDisk = "changed on disk since it was opened or saved here";

// How long after the last change the recovery copy is written.
inline constexpr int kRecoveryDelayMs = 3000;

// A timer that never fires, for forms that keep no recovery copy.
ui::Timer& notimer();

// The platform services the window's logic uses.
struct Services {
    ui::SettingsStore& settings;
    ui::FileDialog& filedialog;
    ui::MessageBox& messagebox;
    ui::RandomSource& random;
    FileSystem& files = systemfiles();
    // Starts the wait before the recovery copy is written.
    ui::Timer& recoverytimer = notimer();
    // The folder of the recovery copies; none is kept when empty.
    std::string recoveryfolder = {};
    // The system clipboard; without one, the window keeps its own.
    ui::Clipboard* clipboard = nullptr;
};

// Where pasted blocks land: the map point under the pointer (Z across, X
// up), their middle moved there in whole steps of the grid (none: 0).
struct PastePlace {
    double z = 0, x = 0, step = 0;
};

class MainForm {
  public:
    explicit MainForm(Services services);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Start-up and shut-down: the start routine loads the window and sets
    // the file dialog's filter; closing it runs the unload handler.
    void start();
    void load();
    void unload();

    // The map: its table, the current block, the file, the selection and
    // the history. The handlers read the table directly and write it
    // through the document.
    Document document;
    const BlockTable& blocks = document.blocks();
    std::int16_t& curblock = document.current;
    History& history = document.history;

    // The rest of the window state.
    bool fieldsready = false;
    bool selmode = false;

    // The window itself: position in twips, minimised or not.
    float left = 0;
    float top = 0;
    bool minimised = false;
    static constexpr int kClientWidth = 8580;
    static constexpr int kClientHeight = 7185;

    ui::Dispatch dispatch;

    ui::Toolbar tbToolBar{dispatch, "tbToolBar"};
    ui::Surface Map{dispatch, "Map"};
    ui::Label Label1{dispatch, "Label1"};
    ui::Slider Slider1{dispatch, "Slider1"};
    ui::Label Label2{dispatch, "Label2"};
    ui::ScrollBar MinD{dispatch, "MinD"};
    ui::ScrollBar MaxD{dispatch, "MaxD"};
    ui::Label Label8{dispatch, "Label8"};
    ui::ListBox List1{dispatch, "List1"};
    ui::TextField posxed{dispatch, "posxed"};
    ui::TextField posyed{dispatch, "posyed"};
    ui::TextField sizexed{dispatch, "sizexed"};
    ui::TextField sizeyed{dispatch, "sizeyed"};
    ui::TextField bottomed{dispatch, "bottomed"};
    ui::TextField heighted{dispatch, "heighted"};
    ui::TextField angleed{dispatch, "angleed"};
    ui::Button selpos{dispatch, "selpos"};
    std::array<ui::ScrollBar, 2> VScroll1{{{dispatch, "VScroll1", 0}, {dispatch, "VScroll1", 1}}};
    ui::Label Label4{dispatch, "Label4"};
    ui::Button RNDANG{dispatch, "RNDANG"};
    ui::ScrollBar AngleSB{dispatch, "AngleSB"};
    ui::Button Command2{dispatch, "Command2"};
    ui::Label Label9{dispatch, "Label9"};
    ui::Label Label6{dispatch, "Label6"};
    std::array<ui::ScrollBar, 3> HeightSB{
        {{dispatch, "HeightSB", 0}, {dispatch, "HeightSB", 1}, {dispatch, "HeightSB", 2}}};
    ui::ScrollBar VScroll2{dispatch, "VScroll2"};
    ui::Label Label5{dispatch, "Label5"};
    ui::Label Label7{dispatch, "Label7"};
    std::array<ui::ScrollBar, 3> BottomSB{
        {{dispatch, "BottomSB", 0}, {dispatch, "BottomSB", 1}, {dispatch, "BottomSB", 2}}};
    ui::CheckBox Check1{dispatch, "Check1"};
    std::array<ui::Button, 4> Command1{{{dispatch, "Command1", 0},
                                        {dispatch, "Command1", 1},
                                        {dispatch, "Command1", 2},
                                        {dispatch, "Command1", 3}}};
    ui::Surface Picture1{dispatch, "Picture1"};
    std::array<ui::Label, 3> Label3{
        {{dispatch, "Label3", 0}, {dispatch, "Label3", 1}, {dispatch, "Label3", 2}}};
    std::array<ui::ScrollBar, 3> Color{
        {{dispatch, "Color", 0}, {dispatch, "Color", 1}, {dispatch, "Color", 2}}};
    ui::StatusBar sbStatusBar{dispatch, "sbStatusBar"};

    // Every control, in the order of the layout, for views that walk them.
    std::vector<ui::Control*> controls();

    // Map drawing.
    void refreshmap();
    void markblock(int i);
    std::int32_t mapcolour(const Block& b) const;
    std::int32_t highlightcolour(const Block& b) const;

    // The block list.
    void refreshlist();
    void sort();
    void VScroll2_Change();

    // The editor.
    void edchange();
    void posxed_Change();
    void posyed_Change();
    void sizexed_Change();
    void sizeyed_Change();
    void bottomed_Change();
    void heighted_Change();
    void angleed_Change();
    void List1_Click();
    void BottomSB_Change(int index);
    void HeightSB_Change(int index);
    void AngleSB_Change();
    void Color_Change(int index);
    void Label3_Click(int index);
    void Command1_Click(int index);
    void Command2_Click();
    void RNDANG_Click();

    // The map view's controls and pointer.
    void MaxD_Change();
    void MinD_Change();
    void Slider1_Change();
    void Check1_Click();
    void VScroll1_Change(int index);
    void selpos_Click();
    void Map_MouseMove(int button, int shift, float x, float y);
    void Map_Click();

    // The toolbar and its commands.
    void tbToolBar_ButtonClick(const std::string& key);
    void newmap();
    void openmap();
    void savemap();
    void copyblock();
    void refresh();
    void deleteblock();
    // Opens a file named from outside the window (the command line, a
    // drop) through the Open command's reading, as an action of its own.
    void openfile(const std::string& path);
    // One name opens; several are refused with a word in the status bar.
    void openfiles(const std::vector<std::string>& paths);
    // Save to the map's file without a dialog (asking first when another
    // program changed the file since); with none, the Save command.
    void saveagain();
    // Says in the status bar, once, that another program changed the map's
    // file; for when the window becomes active again.
    void checkdisk();

    void status(std::string text) { sbStatusBar.settext(1, std::move(text)); }

    // A change made elsewhere than in the window's controls (the map's
    // tools, the clipboard): one action, titled `what` in the history and
    // merging with the step before when they share `mergekey`, after which
    // the map, the list and the editor show the table, and the slot
    // `change` gives (not -1) is the current block, its row selected.
    void apply(const std::string& what, const std::string& mergekey,
               const std::function<int()>& change);
    // A change of the selection alone, as one action.
    void select(const std::function<void()>& change);
    // Makes a slot the current block, as a person selects its row in the
    // list; a block with no row says so in the status bar.
    void makecurrent(int slot);

    // The system clipboard: the selected blocks (or the current one when
    // none is selected) copied, or cut as one step; blocks pasted into free
    // slots as one step, selected, where they were or under `place`.
    void copyblocks(bool cut);
    void pasteblocks(const PastePlace* place);
    // The drawn blocks within the depth window as a scene for game engines,
    // to a file chosen in a dialog of its own.
    void exportscene();

    // Undo and redo of a person's changes to the map.
    void undo();
    void redo();

    // Whether the table differs from what its file holds (or what New made).
    bool modified() const { return document.modified(); }

    // The recovery copy: written a few seconds after the last change while
    // the map is modified, and when the window closes; removed when nothing
    // is left unsaved. Copies left by editors that ended are offered at
    // start: each is taken, as an Open that can be undone, by recover() or
    // thrown away by discard().
    bool recoveryoffered() const { return !copies_.left().empty(); }
    const std::vector<LeftCopy>& leftcopies() const { return copies_.left(); }
    void recover(std::size_t index = 0);
    void discard(std::size_t index);
    void keepcopy();
    // Asks about each copy left, newest first: recover it, throw it away,
    // or leave it for later.
    void offerrecovery();

    // Raised after every person's action, once its whole cascade is over,
    // and after anything else that changes what the window shows.
    Signal<> afteraction;
    void actionover() { afteraction(); }

    Services services;

  private:
    void layout();
    // Every control's accessible name and description, and what an action
    // on it is called in the history.
    void describeall();
    void wire();
    void showdepth();
    // Shows slot c on the map and in every editor control (the display
    // steps shared by the list click and the list rebuild).
    void showblock(int c);
    void spinner(ui::TextField& field, std::array<ui::ScrollBar, 3>& bars, int index);
    // Draws a slot's outline (its square: x, z, sizex, sizez and the angle in
    // radians) in a colour, from its cached corners.
    void drawslot(int i, std::int32_t col);
    void outline(const std::array<Corner, 4>& corners, std::int32_t col);
    // Appends the rows of the listed run; gives the free slot's index.
    int listrows();
    // Selects the row after `row` (when there is one), then `row`.
    void reselect(int row);
    // The size sliders from the size fields.
    void sliderstofields();
    // A new random colour for the "Random" preset to show.
    void newrandompreset();

    void actionbegin(const ui::Action& action);
    void actionend();
    // What an action is called in the history, and what it merges with.
    std::string actiontitle(const ui::Action& action) const;
    std::string mergekey(const ui::Action& action, int block) const;
    // Shows the map as a step of the history left it: the list, the map and
    // the editor follow, but nothing is committed back.
    void restore(const Stance& stance);
    // One step back (undo) or forward (redo) through the history.
    void travel(bool forward);
    // What the main map shows over its drawing of the table.
    MapMarks mapmarks() const;
    // Starts or stops the recovery copy after the map changed.
    void changed();
    void readmap(const ui::FileChoice& choice);
    // What a file holds now that these bytes were read from it or written.
    DiskStamp stampof(const std::string& path, std::span<const std::byte> bytes);
    // Whether the map's file differs from what was last read or written.
    bool diskchanged();
    std::pair<std::uint64_t, std::int64_t> diskreported_;
    void writemap(const ui::FileChoice& choice);
    // The map now belongs to this file.
    void remember(const FileRef& file);

    bool travelling_ = false;
    // Where the main map's full drawing ends, so the marks over it are known.
    std::size_t mapdrawn_ = 0;
    std::uint64_t mapclears_ = 0;
    Connection recoverylistener_;
    RecoveryCopies copies_{services.files, services.recoveryfolder};

    RowCache rowcache_;
    CornerCache cornercache_;
    ui::MemoryClipboard ownclipboard_;
    ui::Clipboard& clipboard_ = services.clipboard ? *services.clipboard : ownclipboard_;
    std::string lastexport_;
};

} // namespace qs
