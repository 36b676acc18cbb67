// The display's side in the page: counting presented frames, pacing the flip
// on the browser's animation frames, holding the show at a chosen frame, and
// the last presented frame as a PNG.
//
// Module.kvorDisplay, for the page (and a person at the browser's console):
//   frame      the last presented frame's number: 0 once the show's first
//              frame is presented, N once the (N+1)-th is (as kvor-capture
//              --frames counts); -1 before the first.
//   stopAt     a frame number or null. Once that frame is presented the flip
//              never returns: the show is held.
//   held       true once the show is held.
//   paused     true while the page holds the show (setPaused): the flip
//              waits, so the show's frame-counted timeline stops with it.
//   setPaused(paused)  holds the show at its next flip, or lets it go on.
//   unpaced    true: the flip yields to the browser without waiting for its
//              next animation frame.
//   framePNG() a data URL of the last presented frame as a PNG at the
//              engine's 640 x 480, without letter-box bars; null before the
//              first frame. Read back from the GPU only when asked (or once
//              when the show is held).
//   parts      the show's frame each part begins on, and its frame count
//              last ([0, 1500, 2980, 4520] for three parts); null until the
//              show starts.
//   seek(frame)  puts the show at that frame before its next one; the
//              latest asked for wins. A paused show draws that frame and
//              stays paused.
//   press(virtualKey, shift)  a timeline key (Win32 virtual-key code) for
//              the show: Left and Right a second (Shift: a frame), Page Up
//              and Page Down a part, Home the start; from the frame shown.
//   onPresent(frame)  optional: called after each present.
//   onHeld()          optional: called once when the show is held.
//   onParts(parts)    optional: called when the show starts.
//   onJumped(frame)   optional: called when the show has jumped, before the
//              frame it jumped to is drawn (the page's music follows).
// The page creates Module.kvorDisplay with stopAt, unpaced and the frame to
// start at (startAt, or null) and the callbacks before kvor.js loads; the
// rest are filled in.

mergeInto(LibraryManager.library, {
  $kvorDisplay__postset: 'kvorDisplay();',
  $kvorDisplay: function () {
    const given = Module.kvorDisplay || {};
    const display = {
      frame: -1,
      stopAt: null,
      held: false,
      paused: false,
      unpaced: false,
      startAt: null,
      parts: null,
      jump: null,  // the frame asked for, until the show takes it
      keys: [],    // the keys pressed, until the show takes them
      resume: null,  // lets the waiting flip return
      requested() {
        return display.jump !== null || display.keys.length > 0;
      },
      // A paused show goes one frame further, to show what was asked for.
      wake() {
        if (!display.resume) return;
        const resume = display.resume;
        display.resume = null;
        resume();
      },
      setPaused(paused) {
        display.paused = paused;
        if (!paused) display.wake();
      },
      seek(frame) {
        display.jump = Math.max(0, Math.round(frame));
        display.wake();
      },
      press(virtualKey, shift) {
        display.keys.push(virtualKey | (shift ? 0x10000 : 0));
        display.wake();
      },
      kept: null,  // {frame, image: ImageData, picture: [x, y, width, height]}
      framePNG() {
        if (display.frame < 0) return null;
        if ((display.kept === null || display.kept.frame !== display.frame) && Module._kvor_display_read_back)
          Module._kvor_display_read_back();
        if (display.kept === null) return null;
        const whole = document.createElement('canvas');
        whole.width = display.kept.image.width;
        whole.height = display.kept.image.height;
        whole.getContext('2d').putImageData(display.kept.image, 0, 0);
        const [x, y, width, height] = display.kept.picture;
        const shown = document.createElement('canvas');
        shown.width = 640;
        shown.height = 480;
        const context = shown.getContext('2d');
        context.imageSmoothingEnabled = true;
        context.drawImage(whole, x, y, width, height, 0, 0, 640, 480);
        return shown.toDataURL('image/png');
      },
    };
    Module.kvorDisplay = Object.assign(display, given);
    if (display.startAt !== null) display.jump = display.startAt;
  },

  // The show's parts: parts + 1 numbers (doubles) at starts.
  kvor_display_parts: function (starts, parts) {
    const display = Module.kvorDisplay;
    display.parts = Array.from(HEAPF64.subarray(starts >> 3, (starts >> 3) + parts + 1));
    if (display.onParts) display.onParts(display.parts);
  },

  // The last presented frame's number, -1 before the first.
  kvor_display_shown_frame: function () {
    return Module.kvorDisplay.frame;
  },

  // The frame the page asks the show to jump to, or -1.
  kvor_display_take_jump: function () {
    const display = Module.kvorDisplay;
    const frame = display.jump;
    display.jump = null;
    return frame === null ? -1 : frame;
  },

  // The next key pressed (its code, 0x10000 added with Shift), or 0.
  kvor_display_take_key: function () {
    const keys = Module.kvorDisplay.keys;
    return keys.length ? keys.shift() : 0;
  },

  // The show stands at frame: the next present is that frame.
  kvor_display_jumped: function (frame) {
    const display = Module.kvorDisplay;
    display.frame = frame - 1;
    if (display.onJumped) display.onJumped(frame);
  },

  // After each present: the frame's number; whether the show is to be held now.
  kvor_display_presented__deps: ['$kvorDisplay'],
  kvor_display_presented: function () {
    const display = Module.kvorDisplay;
    display.frame += 1;
    if (display.onPresent) display.onPresent(display.frame);
    return display.stopAt !== null && display.frame >= display.stopAt;
  },

  // Whether the flip waits for the display: not when the page says unpaced.
  kvor_display_paced: function () {
    return !Module.kvorDisplay.unpaced;
  },

  // The frame just read back: rgb (8-bit triples, top row first) of width x
  // height, the engine's picture at x, y (from the top), pictureWidth x pictureHeight.
  kvor_display_keep: function (rgb, width, height, x, y, pictureWidth, pictureHeight) {
    const image = new ImageData(width, height);
    for (let source = rgb, target = 0, end = rgb + width * height * 3; source < end; source += 3, target += 4) {
      image.data[target] = HEAPU8[source];
      image.data[target + 1] = HEAPU8[source + 1];
      image.data[target + 2] = HEAPU8[source + 2];
      image.data[target + 3] = 255;
    }
    const display = Module.kvorDisplay;
    display.kept = {frame: display.frame, image, picture: [x, y, pictureWidth, pictureHeight]};
  },

  // The browser's next animation frame, or (paced false) only the browser's
  // turn: a message to ourselves, which no timer clamping delays.
  // While the page pauses the show, the flip waits on, but for a jump or a key.
  kvor_display_wait: function (paced) {
    return Asyncify.handleSleep((wakeUp) => {
      const display = Module.kvorDisplay;
      const proceed = () => {
        if (display.paused && !display.requested()) display.resume = wakeUp;
        else wakeUp();
      };
      if (paced) {
        requestAnimationFrame(proceed);
        return;
      }
      const channel = new MessageChannel();
      channel.port1.onmessage = proceed;
      channel.port2.postMessage(0);
    });
  },

  // The show held: the program waits for ever, the page stays alive.
  kvor_display_hold: function () {
    return Asyncify.handleSleep(() => {
      const display = Module.kvorDisplay;
      display.held = true;
      if (display.onHeld) display.onHeld();
    });
  },
});
