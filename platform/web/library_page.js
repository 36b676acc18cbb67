// The page's side of the program's dialogs, message boxes, file picker and
// music player: each function hands the call to Module.kvorPage, which the
// page's script (site/page.js) provides before kvor.js loads. The page
// answers through the program's exported kvor_page_* functions.
// Each entry is a plain function, whose source the linker copies into
// kvor.js; inside, the page's own dialect.

mergeInto(LibraryManager.library, {
  // The width of "A...Za...z" and the line height, in CSS pixels, of the
  // dialog font at size points: two numbers packed in one (width x 65536 + height).
  kvor_page_measure_dialog_font: function (size) {
    return Module.kvorPage.measureDialogFont(size);
  },

  kvor_page_show_dialog: function (handle, owner, caption, width, height, closable) {
    Module.kvorPage.showDialog(handle, owner, UTF8ToString(caption), width, height, closable !== 0);
  },

  kvor_page_add_control: function (dialog, handle, kind, align, x, y, width, height) {
    Module.kvorPage.addControl(dialog, handle, UTF8ToString(kind), align, x, y, width, height);
  },

  kvor_page_set_control: function (handle, text, checked, items, selection) {
    Module.kvorPage.setControl(handle, UTF8ToString(text), checked !== 0, UTF8ToString(items), selection);
  },

  kvor_page_hide_dialog: function (handle) {
    Module.kvorPage.hideDialog(handle);
  },

  kvor_page_close_dialog: function (handle) {
    Module.kvorPage.closeDialog(handle);
  },

  // Returns once the box's OK is pressed; the program's stack waits aside.
  kvor_page_message_box: function (text, caption, icon) {
    return Asyncify.handleAsync(async () => {
      await Module.kvorPage.messageBox(UTF8ToString(text), UTF8ToString(caption), icon);
    });
  },

  // The chosen file copied into the program's file system: its path there,
  // in memory the caller frees, or null when the user cancelled.
  kvor_page_choose_file: function (title, filter) {
    return Asyncify.handleAsync(async () => {
      const path = await Module.kvorPage.chooseFile(UTF8ToString(title), UTF8ToString(filter));
      return path === null ? 0 : allocateUTF8(path);
    });
  },

  kvor_page_player_volume: function () {
    return Module.kvorPage.player.volume();
  },

  kvor_page_player_set_volume: function (volume) {
    Module.kvorPage.player.setVolume(volume);
  },

  kvor_page_player_play: function () {
    Module.kvorPage.player.play();
  },

  kvor_page_player_quit: function () {
    Module.kvorPage.player.quit();
  },
});
