// The display's side in the page: counting presented frames, pacing the flip
// on the browser's animation frames, holding the show at a chosen frame, and
// the last presented frame as a PNG.
//
// Module.kvorDisplay, for the page (and a person at the browser's console):
//   frame      the last presented frame's number: 0 once the show's first
//              frame is presented, N once the (N+1)-th is (as kvor-capture
//              --frames counts); -1 before the first.
//   stopAt     a frame number or null. Once that frame is presented the flip
//              never returns: the show is held. Taken from the page's "?stop=N"
//              unless the page sets it before the program starts.
//   held       true once the show is held.
//   unpaced    true: the flip yields to the browser without waiting for its
//              next animation frame. From "?unpaced" unless the page sets it.
//   framePNG() a data URL of the last presented frame as a PNG at the
//              engine's 640 x 480, without letter-box bars; null before the
//              first frame. Read back from the GPU only when asked (or once
//              when the show is held).
//   onPresent(frame)  optional: called after each present.
//   onHeld()          optional: called once when the show is held.
// The page may create Module.kvorDisplay with some of these before kvor.js
// loads; the rest are filled in.

mergeInto(LibraryManager.library, {
  $kvorDisplay__postset: 'kvorDisplay();',
  $kvorDisplay: function () {
    var parameters = new URLSearchParams(typeof location !== 'undefined' ? location.search : '');
    var stop = parameters.get('stop');
    var given = Module['kvorDisplay'] || {};
    var display = {
      frame: -1,
      stopAt: stop !== null && /^\d+$/.test(stop) ? Number(stop) : null,
      held: false,
      unpaced: parameters.has('unpaced'),
      kept: null,  // {frame, image: ImageData, picture: [x, y, width, height]}
      framePNG: function () {
        if (display.frame < 0) return null;
        if ((display.kept === null || display.kept.frame !== display.frame) && Module['_kvor_display_read_back'])
          Module['_kvor_display_read_back']();
        if (display.kept === null) return null;
        var whole = document.createElement('canvas');
        whole.width = display.kept.image.width;
        whole.height = display.kept.image.height;
        whole.getContext('2d').putImageData(display.kept.image, 0, 0);
        var picture = display.kept.picture;
        var shown = document.createElement('canvas');
        shown.width = 640;
        shown.height = 480;
        var context = shown.getContext('2d');
        context.imageSmoothingEnabled = true;
        context.drawImage(whole, picture[0], picture[1], picture[2], picture[3], 0, 0, 640, 480);
        return shown.toDataURL('image/png');
      },
    };
    for (var name in given) display[name] = given[name];
    Module['kvorDisplay'] = display;
  },

  // After each present: the frame's number; whether the show is to be held now.
  kvor_display_presented__deps: ['$kvorDisplay'],
  kvor_display_presented: function () {
    var display = Module['kvorDisplay'];
    display.frame += 1;
    if (display.onPresent) display.onPresent(display.frame);
    return display.stopAt !== null && display.frame >= display.stopAt;
  },

  // Whether the flip waits for the display: not when the page says unpaced.
  kvor_display_paced: function () {
    return !Module['kvorDisplay'].unpaced;
  },

  // The frame just read back: rgb (8-bit triples, top row first) of width x
  // height, the engine's picture at x, y (from the top), pictureWidth x pictureHeight.
  kvor_display_keep: function (rgb, width, height, x, y, pictureWidth, pictureHeight) {
    var image = new ImageData(width, height);
    for (var source = rgb, target = 0, end = rgb + width * height * 3; source < end; source += 3, target += 4) {
      image.data[target] = HEAPU8[source];
      image.data[target + 1] = HEAPU8[source + 1];
      image.data[target + 2] = HEAPU8[source + 2];
      image.data[target + 3] = 255;
    }
    var display = Module['kvorDisplay'];
    display.kept = {frame: display.frame, image: image, picture: [x, y, pictureWidth, pictureHeight]};
  },

  // The browser's next animation frame, or (paced false) only the browser's
  // turn: a message to ourselves, which no timer clamping delays.
  kvor_display_wait: function (paced) {
    return Asyncify.handleSleep(function (wakeUp) {
      if (paced) {
        requestAnimationFrame(function () { wakeUp(); });
        return;
      }
      var channel = new MessageChannel();
      channel.port1.onmessage = function () { wakeUp(); };
      channel.port2.postMessage(0);
    });
  },

  // The show held: the program waits for ever, the page stays alive.
  kvor_display_hold: function () {
    return Asyncify.handleSleep(function () {
      var display = Module['kvorDisplay'];
      display.held = true;
      if (display.onHeld) display.onHeld();
    });
  },
});
