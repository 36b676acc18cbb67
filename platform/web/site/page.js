'use strict';
// The page around the engine: it starts the program as soon as its wasm is
// compiled and fetches the data and the soundtrack while the launcher shows;
// it draws the program's dialogs and message boxes as modal <dialog>s, plays
// its music, keeps its log, says how it ended, keeps the site offline through
// the service worker (sw.js), and gives window.kvor to people and tests at the
// browser's console. The engine reaches the page through Module.kvorPage; its
// display side is Module.kvorDisplay.

(() => {
  const $ = (id) => document.getElementById(id);
  const logName = 'kvorlog.txt';
  const dataName = 'kvor-data.data';
  const musicName = 'kvor-theme.opus';
  // What build-web wrote into the page: the build's stamp, whether it carries the video.
  const site = JSON.parse($('site').textContent);

  // The show's frames in a second of its music.
  const framesPerSecond = 60;

  // The page's parameters, read here only: ?t=SECONDS or ?frame=N start the
  // show there; ?stop=N holds the show once frame N is presented; ?unpaced
  // lets the flip only yield to the browser.
  function readSettings(search) {
    const parameters = new URLSearchParams(search);
    const whole = (name) => {
      const value = parameters.get(name);
      return value !== null && /^\d+$/.test(value) ? Number(value) : null;
    };
    const seconds = parameters.get('t');
    const startSeconds = seconds !== null && /^\d+(\.\d*)?$/.test(seconds) ? Number(seconds) : null;
    return {
      stopAt: whole('stop'),
      startAt: whole('frame') ?? (startSeconds === null ? null : Math.round(startSeconds * framesPerSecond)),
      unpaced: parameters.has('unpaced'),
    };
  }
  const settings = readSettings(location.search);

  let state = 'loading'; // until the launcher is shown
  let exitCode = null;
  let logPath = logName; // in the program's start directory: the show changes directory

  function setStatus(text) {
    $('status').textContent = text;
  }

  function display() {
    return Module.kvorDisplay || null;
  }

  // The display numbers the last presented frame from 0 (-1 before the
  // first), as the show counts it: this is the frames presented since Launch
  // until the show jumps.
  function framesPresented() {
    const shown = display();
    return shown ? shown.frame + 1 : 0;
  }

  const megabytes = (bytes) => (bytes / 1e6).toFixed(1);

  // ---- What the page fetches while the launcher shows ---------------------------

  // A file fetched with its progress in bytes: loaded, total (0 until
  // known), and done, which resolves to its bytes.
  function download(name, knownTotal) {
    const load = { name, loaded: 0, total: knownTotal || 0, failed: null };
    load.done = (async () => {
      const response = await fetch(name);
      if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
      // Content-Length counts the bytes sent, not those read, when they come compressed.
      if (!load.total && !response.headers.get('Content-Encoding'))
        load.total = Number(response.headers.get('Content-Length')) || 0;
      const reader = response.body.getReader();
      const parts = [];
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        parts.push(value);
        load.loaded += value.length;
        loads.changed();
      }
      const bytes = new Uint8Array(load.loaded);
      let offset = 0;
      for (const part of parts) {
        bytes.set(part, offset);
        offset += part.length;
      }
      load.total = load.loaded;
      loads.changed();
      return bytes;
    })();
    load.done.catch((failure) => {
      load.failed = failure;
      loads.changed();
    });
    return load;
  }

  let loaded;
  const loads = {
    list: [],
    // Resolves once the data are in the program's file system and the music in its player.
    ready: new Promise((resolve, reject) => {
      loaded = { resolve, reject };
    }),

    loaded() {
      return this.list.reduce((sum, load) => sum + load.loaded, 0);
    },

    total() {
      return this.list.reduce((sum, load) => sum + Math.max(load.total, load.loaded), 0);
    },

    pending() {
      return this.list.filter((load) => load.loaded < load.total || load.total === 0);
    },

    // What the status line and the progress bar say while something is still on its way.
    changed() {
      const bar = $('loading');
      bar.max = this.total() || 1;
      bar.value = this.loaded();
      const failed = this.list.find((load) => load.failed);
      if (failed) {
        $('loading-text').textContent = `Could not load ${failed.name} (${failed.failed.message}).`;
        return;
      }
      const pending = this.pending();
      $('loading-text').textContent = pending.length
        ? `Loading ${pending.map((load) => load.name).join(' and ')}: ` +
          `${megabytes(this.loaded())} of ${megabytes(this.total())} MB`
        : 'Loaded.';
      if (state === 'launcher' && !launchWaiting) showLauncherStatus();
    },
  };

  // The pack's files written where the program reads them: /datas/...
  function installData(index, bytes) {
    for (const file of index.files) {
      Module.FS.mkdirTree(file.path.slice(0, file.path.lastIndexOf('/')));
      Module.FS.writeFile(file.path, bytes.subarray(file.start, file.end));
    }
  }

  function startLoading() {
    const index = fetch('kvor-data.json').then((response) => {
      if (!response.ok) throw new Error(`kvor-data.json: ${response.status} ${response.statusText}`);
      return response.json();
    });
    const data = download(dataName, 0);
    index.then((found) => {
      data.total = found.size;
      loads.changed();
    }, () => {});
    const music = download(musicName, 0);
    loads.list.push(data, music);
    const installed = Promise.all([index, data.done]).then(([found, bytes]) => installData(found, bytes));
    const playable = music.done.then((bytes) => {
      $('music').src = URL.createObjectURL(new Blob([bytes], { type: 'audio/ogg' }));
    });
    Promise.all([installed, playable]).then(loaded.resolve, loaded.reject);
    loads.ready.then(() => {
      $('loading-bar').hidden = true;
      loads.changed();
    }, (failure) => {
      loads.changed();
      setStatus(`The page could not load what the show needs: ${failure.message}.`);
    });
    loads.changed();
  }

  // ---- The log --------------------------------------------------------------

  // The log's text as the program has written it so far, or null before it exists.
  function logText() {
    const files = Module.FS;
    if (!files) return null;
    try {
      return files.readFile(logPath, { encoding: 'utf8' });
    } catch (missing) {
      return null;
    }
  }

  function offerDownload(url, name) {
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
  }

  function downloadLog() {
    const text = logText();
    if (text === null) {
      setStatus('The program has written no log yet.');
      return;
    }
    const url = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
    offerDownload(url, logName);
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  function saveFrame() {
    const shown = display();
    if (!shown) return;
    const picture = shown.framePNG();
    if (picture) offerDownload(picture, `kvor-frame-${String(shown.frame).padStart(6, '0')}.png`);
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else $('stage').requestFullscreen();
  }

  // ---- Dialogs ---------------------------------------------------------------

  const dialogs = new Map(); // handle -> <dialog>
  const controls = new Map(); // handle -> { kind, element, input, label }
  let launchWaiting = false; // "Launch" pressed, the data not there yet

  // A window shown modally by the browser: a caption, its close box, its client area.
  function makeWindow(caption, closeAction) {
    const element = document.createElement('dialog');
    element.className = 'window';
    element.setAttribute('aria-label', caption);
    const bar = document.createElement('div');
    bar.className = 'caption';
    const title = document.createElement('span');
    title.textContent = caption;
    bar.append(title);
    if (closeAction) {
      const close = document.createElement('button');
      close.type = 'button';
      close.textContent = '×';
      close.setAttribute('aria-label', 'Close');
      close.addEventListener('click', closeAction);
      bar.append(close);
    }
    const client = document.createElement('div');
    client.className = 'client';
    element.append(bar, client);
    return { element, client };
  }

  // A click in the page is the user's gesture the browser asks for before it
  // lets the music sound.
  function userActed() {
    player.allowSound();
  }

  function showLauncherStatus() {
    const pending = loads.pending();
    setStatus(pending.length
      ? `Choose a display driver and press Launch. ${$('loading-text').textContent}.`
      : 'Choose a display driver and press Launch.');
  }

  // "Launch" starts the show once the data and the music are in; until then
  // the page shows what it still waits for, in bytes.
  async function launch(handle) {
    if (launchWaiting) return;
    launchWaiting = true;
    fillPhoneScreen();
    if (loads.pending().length) {
      $('loading-bar').hidden = false;
      setStatus('Launch waits for the data and the music.');
    }
    try {
      await loads.ready;
    } catch (failure) {
      return;
    } finally {
      launchWaiting = false;
    }
    setStatus('Loading the show…');
    Module._kvor_page_clicked(handle);
  }

  function makeControl(handle, kind, align) {
    if (kind === 'button') {
      const button = document.createElement('button');
      button.type = 'button';
      button.addEventListener('click', () => {
        userActed();
        if (state === 'launcher' && button.textContent === 'Launch') launch(handle);
        else Module._kvor_page_clicked(handle);
      });
      return { kind, element: button, input: button, label: button };
    }
    if (kind === 'check') {
      const label = document.createElement('label');
      const input = document.createElement('input');
      input.type = 'checkbox';
      const text = document.createElement('span');
      label.append(input, text);
      input.addEventListener('change', () => Module._kvor_page_toggled(handle, input.checked ? 1 : 0));
      return { kind, element: label, input, label: text };
    }
    if (kind === 'select') {
      const select = document.createElement('select');
      select.addEventListener('change', () => Module._kvor_page_selected(handle, select.selectedIndex));
      return { kind, element: select, input: select, label: null };
    }
    if (kind === 'group') {
      const group = document.createElement('fieldset');
      const legend = document.createElement('legend');
      group.append(legend);
      return { kind, element: group, input: null, label: legend };
    }
    const text = document.createElement('div');
    text.className = 'text';
    text.style.textAlign = align < 0 ? 'left' : align > 0 ? 'right' : 'center';
    return { kind, element: text, input: null, label: text };
  }

  function removeDialog(handle) {
    const dialog = dialogs.get(handle);
    if (!dialog) return;
    for (const [control, shown] of controls) if (dialog.contains(shown.element)) controls.delete(control);
    dialog.close();
    dialog.remove();
    dialogs.delete(handle);
  }

  const dialogPage = {
    measureDialogFont(points) {
      const context = document.createElement('canvas').getContext('2d');
      context.font = `${points}pt "MS Sans Serif", sans-serif`;
      const metrics = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
      const height = Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent);
      return Math.round(metrics.width) * 65536 + height;
    },

    // The browser keeps the dialog modal: its owner takes no input while it is open.
    showDialog(handle, owner, caption, width, height, closable) {
      const { element, client } = makeWindow(caption, closable ? () => Module._kvor_page_close(handle) : null);
      client.style.width = `${width}px`;
      client.style.height = `${height}px`;
      element.dataset.handle = handle;
      // Escape asks the program, which closes the dialog or not.
      element.addEventListener('cancel', (event) => {
        event.preventDefault();
        if (state === 'launcher') Module._kvor_page_escape(handle);
      });
      dialogs.set(handle, element);
      $('dialogs').append(element);
      element.showModal();
      if (state === 'loading') {
        state = 'launcher';
        page.launcherShownAt = page.launcherShownAt ?? performance.now();
        showLauncherStatus();
      }
    },

    addControl(dialog, handle, kind, align, x, y, width, height) {
      const control = makeControl(handle, kind, align);
      const style = control.element.style;
      style.left = `${x}px`;
      style.top = `${y}px`;
      style.width = `${width}px`;
      if (height >= 0) style.height = `${height}px`;
      control.element.dataset.handle = handle;
      controls.set(handle, control);
      dialogs.get(dialog).querySelector('.client').append(control.element);
    },

    setControl(handle, text, checked, items, selection) {
      const control = controls.get(handle);
      if (!control) return;
      if (control.kind === 'select') {
        const names = items.split('\n').slice(0, -1);
        control.input.replaceChildren(...names.map((name) => new Option(name)));
        control.input.selectedIndex = selection;
        return;
      }
      if (control.kind === 'check') control.input.checked = checked;
      control.label.textContent = text;
    },

    hideDialog(handle) {
      dialogs.get(handle)?.close();
    },

    closeDialog: removeDialog,
  };

  function closeAllDialogs() {
    for (const dialog of dialogs.values()) dialog.close();
  }

  // ---- Message boxes and the file picker --------------------------------------

  const errorIcon = 0x10;

  // Resolves when the box is answered: OK, Enter or Escape.
  function messageBox(text, caption, icon) {
    return new Promise((resolve) => {
      const { element, client } = makeWindow(caption, null);
      element.classList.add('message');
      const body = document.createElement('div');
      body.className = 'body';
      if (icon === errorIcon) {
        const sign = document.createElement('span');
        sign.className = 'icon';
        sign.textContent = '×';
        body.append(sign);
      }
      const words = document.createElement('span');
      words.className = 'text';
      words.textContent = text;
      body.append(words);
      const form = document.createElement('form');
      form.method = 'dialog';
      const ok = document.createElement('button');
      ok.value = 'ok';
      ok.textContent = 'OK';
      form.append(ok);
      client.append(body, form);
      element.addEventListener('close', () => {
        element.remove();
        resolve(element.returnValue);
      });
      $('boxes').append(element);
      page.messageBoxes.push({ caption, text });
      element.showModal();
      ok.focus();
    });
  }

  // The chosen file, copied into the program's file system; its path there,
  // or null when the user cancelled.
  function chooseFile(title, accept) {
    return new Promise((resolve) => {
      const picker = document.createElement('input');
      picker.type = 'file';
      picker.accept = accept;
      picker.title = title;
      picker.addEventListener('cancel', () => resolve(null));
      picker.addEventListener('change', async () => {
        const file = picker.files[0];
        if (!file) {
          resolve(null);
          return;
        }
        const folder = '/chosen';
        Module.FS.mkdirTree(folder);
        const path = `${folder}/${file.name}`;
        Module.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
        resolve(path);
      });
      picker.click();
    });
  }

  // ---- The music player ---------------------------------------------------

  const music = $('music');

  function clock(seconds) {
    const whole = Math.floor(seconds);
    return `${Math.floor(whole / 60)}:${String(whole % 60).padStart(2, '0')}`;
  }

  const player = {
    condition: 'stopped', // playing, paused, stopped or closed
    volumes: [], // [milliseconds since the page's start, volume], for every change
    soundAllowed: false,

    // Within the user's gesture: from then on the browser lets the page sound.
    allowSound() {
      if (this.soundAllowed || !music.src) return;
      this.soundAllowed = true;
      music.play().then(() => {
        if (this.condition !== 'playing') music.pause();
      }, () => {});
      music.pause();
    },

    volume() {
      return music.volume;
    },

    setVolume(volume) {
      music.volume = volume;
      this.volumes.push([performance.now(), volume]);
      this.show();
    },

    play() {
      if (this.condition === 'closed') return;
      this.condition = 'playing';
      music.play().catch((refusal) => {
        this.condition = 'paused';
        setStatus(`The browser did not let the music start (${refusal.message}).`);
        this.show();
      });
      this.show();
    },

    pause() {
      if (this.condition !== 'playing') return;
      this.condition = 'paused';
      music.pause();
      this.show();
    },

    // The show jumped: the music goes to the same moment.
    setPosition(seconds) {
      if (!music.src || this.condition === 'closed') return;
      music.currentTime = Number.isFinite(music.duration) ? Math.min(seconds, music.duration) : seconds;
      this.show();
    },

    quit() {
      this.condition = 'closed';
      music.pause();
      this.show();
    },

    show() {
      // Held with the show, the music is silent though the show asked it to play.
      const held = this.condition === 'playing' && music.paused;
      $('player-state').textContent = held ? 'paused' : this.condition;
      $('player-volume').textContent = music.volume.toFixed(2);
      const length = Number.isFinite(music.duration) ? ` / ${clock(music.duration)}` : '';
      $('player-position').textContent = `${clock(music.currentTime)}${length}`;
    },
  };

  // ---- Pausing the show, media keys, the screen ------------------------------

  let paused = false;
  let wakeLock = null;

  function playing() {
    return state === 'show' && !paused;
  }

  // Keeps the screen on while the show plays, where the browser lets it.
  async function keepScreenOn(wanted) {
    if (!wanted) {
      wakeLock?.release().catch(() => {});
      wakeLock = null;
      return;
    }
    if (wakeLock || !navigator.wakeLock || document.visibilityState !== 'visible') return;
    try {
      wakeLock = await navigator.wakeLock.request('screen');
      wakeLock.addEventListener('release', () => {
        wakeLock = null;
      });
    } catch (refusal) {
      wakeLock = null;
    }
  }

  // The show's flip waits while paused; the music waits with it, at the
  // frame shown (a show slower than its music falls behind it).
  function setPaused(wanted) {
    if (state !== 'show' || paused === wanted) return;
    paused = wanted;
    display().setPaused(paused);
    player.setPosition(Math.max(display().frame, 0) / framesPerSecond);
    if (paused) music.pause();
    else if (player.condition === 'playing') music.play().catch(() => {});
    player.show();
    if ('mediaSession' in navigator) navigator.mediaSession.playbackState = paused ? 'paused' : 'playing';
    keepScreenOn(!paused);
    setStatus(paused ? `Paused at frame ${display().frame}. Space or a tap resumes.` : 'Playing.');
  }

  // The title on the lock screen and the media keys' Play and Pause.
  function openMediaSession() {
    if (!('mediaSession' in navigator)) return;
    navigator.mediaSession.metadata = new MediaMetadata({ title: 'kvor', artist: 'kvor', album: 'kvor' });
    navigator.mediaSession.setActionHandler('play', () => setPaused(false));
    navigator.mediaSession.setActionHandler('pause', () => setPaused(true));
    navigator.mediaSession.setActionHandler('seekto', (details) => {
      if (timeline.source?.active()) timeline.source.seek(details.seekTime * framesPerSecond);
    });
    navigator.mediaSession.playbackState = 'playing';
  }

  const phoneLandscape = matchMedia('(pointer: coarse) and (orientation: landscape)');

  // A phone turned sideways shows the show on its whole screen, where the
  // browser allows it (it may ask for the user's gesture first).
  function fillPhoneScreen() {
    if (phoneLandscape.matches && !document.fullscreenElement && document.fullscreenEnabled)
      $('stage').requestFullscreen().catch(() => {});
  }

  // The timeline's keys, as the show takes them: Win32 virtual-key codes.
  const timelineKeys = { ArrowLeft: 0x25, ArrowRight: 0x27, PageUp: 0x21, PageDown: 0x22, Home: 0x24 };

  // Space pauses and resumes; the arrows move a second, with Shift a frame.
  // Not while a control other than the seek bar has the keyboard.
  function keyPressed(event) {
    if (!timeline.source?.active() || event.altKey || event.ctrlKey || event.metaKey ||
        event.target.closest?.('button, select, input:not([type=range])')) return;
    if (event.key === ' ') timeline.source.togglePause();
    else if (event.key in timelineKeys) timeline.source.press(event.key, event.shiftKey);
    else return;
    event.preventDefault();
  }

  // ---- The seek bar ------------------------------------------------------------

  const seek = $('seek');

  function timeOf(frame) {
    const seconds = frame / framesPerSecond;
    return `${clock(seconds)}.${Math.floor((seconds % 1) * 10)}`;
  }

  // One seek bar over whatever plays the show: the program, which jumps by
  // the show's own logic, or, where it cannot run, the show's video. Its
  // source says where it is, goes where the bar says and takes the keys.
  const timeline = {
    source: null,
    parts: null, // each part's first frame, then the frames of them all
    frames: 0, // the bar's length: the parts', or the video's where it is longer
    seeking: false, // a pointer or a finger holds the seek bar

    // The parts as segments under the bar, each as long as its frames (the
    // video's fade after them unnamed).
    show(source, parts, frames) {
      this.source = source;
      this.parts = parts;
      this.frames = Math.max(frames, parts ? parts[parts.length - 1] : 0);
      seek.max = Math.max(this.frames - 1, 0);
      const segments = (parts ?? [0]).slice(0, -1).map((start, part) => {
        const segment = document.createElement('span');
        segment.textContent = `Part ${part + 1}`;
        segment.style.flexGrow = parts[part + 1] - start;
        segment.title = `${timeOf(start)} to ${timeOf(parts[part + 1])}`;
        return segment;
      });
      const after = this.frames - (parts ? parts[parts.length - 1] : 0);
      if (after > 0 && parts) {
        const tail = document.createElement('span');
        tail.style.flexGrow = after;
        segments.push(tail);
      }
      $('parts').replaceChildren(...segments);
      $('timeline').hidden = false;
      this.position(source.frame());
    },

    position(frame) {
      if (!this.seeking) seek.value = frame;
      $('seek-time').textContent = `${timeOf(frame)} / ${timeOf(this.frames)}`;
      $('seek-frame').textContent = `frame ${frame}`;
    },

    // A click or a drag (a finger's too) puts the show where the bar says.
    seekTo() {
      if (this.source?.active()) this.source.seek(Number(seek.value));
    },
  };

  // The program as the seek bar's source.
  const programTimeline = {
    active: () => state === 'show',
    frame: () => Math.max(display().frame, 0),
    seek: (frame) => display().seek(frame),
    press: (key, shift) => display().press(timelineKeys[key], shift),
    togglePause: () => setPaused(!paused),
  };

  // The show's video as the seek bar's source: the keys move it as they move
  // the show, counted in the show's frames.
  function videoTimeline(video) {
    const last = () => Math.max(timeline.frames - 1, 0);
    const starts = () => (timeline.parts ?? [0]).slice(0, -1);
    const moves = {
      ArrowLeft: (now, step) => now - step,
      ArrowRight: (now, step) => now + step,
      // The part before the one playing (the last part, in the fade after them all).
      PageUp: (now) => {
        const current = [...starts(), timeline.parts?.at(-1) ?? 0].filter((start) => start <= now).at(-1) ?? 0;
        return starts().filter((start) => start < current).at(-1) ?? 0;
      },
      PageDown: (now) => starts().find((start) => start > now) ?? now,
      Home: () => 0,
    };
    return {
      active: () => state === 'unavailable',
      frame: () => Math.round(video.currentTime * framesPerSecond),
      seek(frame) {
        video.currentTime = Math.min(Math.max(frame, 0), last()) / framesPerSecond;
        timeline.position(this.frame());
      },
      press(key, shift) {
        this.seek(moves[key](this.frame(), shift ? 1 : framesPerSecond));
      },
      togglePause() {
        if (video.paused) video.play().catch((refusal) => setStatus(`The video did not start (${refusal.message}).`));
        else video.pause();
      },
    };
  }

  // ---- The show and its end ------------------------------------------------

  const keptFrames = new Map(); // frame number -> PNG data URL, for frames asked for

  function presented(frame) {
    if (keptFrames.has(frame)) keptFrames.set(frame, display().framePNG());
    if (state === 'launcher') {
      state = 'show';
      closeAllDialogs();
      $('save-frame').disabled = false;
      $('canvas').focus();
      openMediaSession();
      keepScreenOn(true);
    }
    timeline.position(frame);
    if (frame % 30 === 0 && !paused)
      setStatus(`Playing: frame ${frame}. Space or a tap pauses, the arrows move; Escape ends the show.`);
  }

  // The music goes to the show's new moment.
  function jumped(frame) {
    player.setPosition(frame / framesPerSecond);
    if (paused) setStatus(`Paused at frame ${frame}. Space or a tap resumes.`);
  }

  function held() {
    state = 'held';
    keepScreenOn(false);
    player.pause();
    seek.disabled = true;
    setStatus(`Held after frame ${display().frame}, as ?stop=${settings.stopAt} asks.`);
  }

  // kvor ends with 2 whether the show ran or not, 255 on a fatal stop.
  function describeEnd(code) {
    if (code === 2) return 'closed normally';
    if (code === 255) return 'a fatal stop (its reason is in the log)';
    return 'an unexpected status';
  }

  // The status as a shell reports it: a fatal stop's exit(-1) is 255.
  function ended(code) {
    if (state === 'ended') return;
    state = 'ended';
    exitCode = code & 0xff;
    player.quit();
    seek.disabled = true;
    keepScreenOn(false);
    closeAllDialogs();
    $('ending-text').textContent = `kvor ended with status ${exitCode}: ${describeEnd(exitCode)}.`;
    $('ending').hidden = false;
    setStatus(`kvor ended with status ${exitCode}.`);
    const text = logText();
    if (text !== null) {
      $('log-text').textContent = text;
      $('log-view').hidden = false;
    }
  }

  function aborted(reason) {
    if (state === 'ended') return;
    const before = state;
    state = 'ended';
    player.quit();
    if (before === 'loading') {
      cannotRun(`the program could not start (${reason})`);
      return;
    }
    $('ending-text').textContent = `kvor stopped: ${reason}.`;
    $('ending').hidden = false;
    setStatus('kvor stopped.');
  }

  // ---- When the show cannot run here ------------------------------------------

  function webgl2Available() {
    const context = document.createElement('canvas').getContext('webgl2');
    if (!context) return false;
    context.getExtension('WEBGL_lose_context')?.loseContext();
    return true;
  }

  // Says what is missing and, where the site carries it, plays the show's video instead.
  function cannotRun(missing) {
    state = 'unavailable';
    $('canvas').hidden = true;
    $('tools').hidden = true;
    $('unavailable-text').textContent = `kvor cannot play in this browser: ${missing}.` +
      (site.video ? ' Here is a recording of the show instead.' : '');
    $('unavailable').hidden = false;
    setStatus(`kvor cannot play here: ${missing}.`);
    if (site.video) playVideo(missing);
  }

  // The video under the seek bar, with the parts the site build wrote beside
  // it (a bar without parts when they are missing); a tap on it pauses.
  async function playVideo(missing) {
    const video = $('video');
    video.src = site.video;
    video.hidden = false;
    const source = videoTimeline(video);
    const parts = await fetch(site.video.replace(/\.[^.]*$/, '.json'))
      .then((response) => (response.ok ? response.json() : {}))
      .then((found) => found.parts ?? null, () => null);
    const shown = () => {
      if (Number.isFinite(video.duration)) timeline.show(source, parts, Math.round(video.duration * framesPerSecond));
    };
    shown();
    video.addEventListener('durationchange', shown);
    for (const change of ['timeupdate', 'seeked'])
      video.addEventListener(change, () => timeline.position(source.frame()));
    video.addEventListener('click', () => source.togglePause());
    setStatus(`kvor cannot play here: ${missing}. Space or a tap plays the recording, the arrows move.`);
  }

  // ---- Offline and new builds -----------------------------------------------

  // The service worker keeps this build's files. A visit that finds a new
  // build has the worker fetch it; the page says so and offers to reload
  // into it, which it otherwise plays at the next visit.
  function keepOffline() {
    if (!('serviceWorker' in navigator)) return;
    const workers = navigator.serviceWorker;
    let reloading = false;
    // A question above whatever is open (the launcher is modal too).
    const offer = (worker) => {
      if (page.updated) return;
      page.updated = true;
      const question = $('update');
      question.addEventListener('close', () => {
        if (question.returnValue !== 'reload') return;
        reloading = true;
        worker.postMessage('take over');
      }, { once: true });
      question.showModal();
    };
    workers.addEventListener('controllerchange', () => {
      if (reloading) location.reload();
    });
    // Registered once the page's own fetches are done, whose bytes the worker
    // then finds in the browser's cache instead of fetching them twice.
    const register = async () => {
      try {
        const registration = await workers.register('sw.js');
        const watch = (worker) => worker?.addEventListener('statechange', () => {
          if (worker.state === 'installed' && workers.controller) offer(worker);
        });
        if (registration.waiting && workers.controller) offer(registration.waiting);
        watch(registration.installing);
        registration.addEventListener('updatefound', () => watch(registration.installing));
      } catch (refusal) {
        console.warn(`kvor: no offline copy (${refusal.message})`);
      }
    };
    loads.ready.then(register, register);
  }

  // ---- The page's interfaces ---------------------------------------------------

  const page = {
    ...dialogPage,
    messageBox,
    chooseFile,
    player,
    messageBoxes: [], // every box shown: { caption, text }
    launcherShownAt: null, // milliseconds after the page's start
    updated: false, // a new build is fetched and waits to take over
  };

  window.kvor = {
    get state() {
      return state;
    },
    get frame() {
      return framesPresented();
    },
    get exitCode() {
      return exitCode;
    },
    get paused() {
      return paused;
    },
    build: site.build,
    get updated() {
      return page.updated;
    },
    log: logText,
    framePNG: () => (display() ? display().framePNG() : null),
    // Puts the show at frame n, as the seek bar does.
    seek(frame) {
      if (state === 'show' || state === 'launcher') display().seek(frame);
    },
    get parts() {
      return display()?.parts ?? null;
    },
    // Keeps the PNG of each of these frames (numbered from 0) as it is
    // presented, to be read with keptFrame(n) later.
    keepFrames(numbers) {
      for (const number of numbers) keptFrames.set(number, null);
    },
    keptFrame: (number) => keptFrames.get(number) ?? null,
    get loading() {
      return { loaded: loads.loaded(), total: loads.total(), pending: loads.pending().map((load) => load.name) };
    },
    get player() {
      return {
        track: $('player-track').textContent,
        condition: player.condition,
        volume: music.volume,
        playing: !music.paused,
        position: music.currentTime,
        duration: music.duration,
        volumes: player.volumes.slice(),
      };
    },
    get launcherShownAt() {
      return page.launcherShownAt;
    },
    get messageBoxes() {
      return page.messageBoxes.slice();
    },
  };

  // The program starts once its wasm is compiled (while it arrives, the
  // server sending it as application/wasm); the data follow on their own.
  function startProgram() {
    window.Module = {
      canvas: $('canvas'),
      arguments: [],
      kvorPage: page,
      // The display side fills in the rest when kvor.js loads.
      kvorDisplay: {
        stopAt: settings.stopAt,
        startAt: settings.startAt,
        unpaced: settings.unpaced,
        onPresent: presented,
        onHeld: held,
        onParts: (parts) => timeline.show(programTimeline, parts, 0),
        onJumped: jumped,
      },
      // The data follow the engine rather than share the link with it.
      onRuntimeInitialized() {
        logPath = `${Module.FS.cwd().replace(/\/$/, '')}/${logName}`;
        $('download-log').disabled = false;
        startLoading();
      },
      onExit: ended,
      onAbort: aborted,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    };
    const engine = document.createElement('script');
    engine.src = 'kvor.js';
    engine.addEventListener('error', () => cannotRun('the engine (kvor.js) could not be loaded'));
    document.body.append(engine);
    setStatus('Loading the engine…');
  }

  document.addEventListener('keydown', keyPressed);
  // A tap or a click on the stage pauses and resumes the show.
  $('canvas').addEventListener('click', () => setPaused(!paused));
  phoneLandscape.addEventListener('change', () => {
    if (playing()) fillPhoneScreen();
  });
  document.addEventListener('visibilitychange', () => keepScreenOn(playing()));
  seek.addEventListener('input', () => timeline.seekTo());
  seek.addEventListener('pointerdown', () => {
    timeline.seeking = true;
  });
  for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
    seek.addEventListener(end, () => {
      timeline.seeking = false;
    });
  $('fullscreen').addEventListener('click', toggleFullScreen);
  $('save-frame').addEventListener('click', saveFrame);
  $('download-log').addEventListener('click', downloadLog);
  $('restart').addEventListener('click', () => location.reload());
  for (const change of ['timeupdate', 'durationchange', 'volumechange', 'play', 'pause'])
    music.addEventListener(change, () => player.show());
  player.show();
  if (!webgl2Available()) {
    cannotRun('WebGL 2, which draws the show, is not available');
    return;
  }
  startProgram();
  keepOffline();
})();
