'use strict';
// The page around the engine: the program's dialogs and message boxes as HTML,
// its music player, its log, its end, and window.kvor for people and tests at
// the browser's console. The engine (kvor.js) reaches all of it through
// Module.kvorPage; its display side is Module.kvorDisplay.

(() => {
  const $ = (id) => document.getElementById(id);
  const parameters = new URLSearchParams(location.search);
  const stopAt = parameters.has('stop') ? Number.parseInt(parameters.get('stop'), 10) : null;
  const logName = 'kvorlog.txt';

  let state = 'loading'; // until the launcher is shown
  let exitCode = null;
  let logPath = logName; // in the program's start directory: the show changes directory

  function setStatus(text) {
    $('status').textContent = text;
  }

  function display() {
    return Module.kvorDisplay || null;
  }

  // The display numbers the last presented frame from 0 (-1 before the first).
  function framesPresented() {
    const shown = display();
    return shown ? shown.frame + 1 : 0;
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

  // ---- The canvas, letter-boxed in the stage --------------------------------

  function fitCanvas() {
    const stage = $('stage');
    const width = Math.min(stage.clientWidth, (stage.clientHeight * 4) / 3);
    $('canvas').style.width = `${Math.floor(width)}px`;
    $('canvas').style.height = `${Math.floor((width * 3) / 4)}px`;
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else $('stage').requestFullscreen();
  }

  // ---- Dialogs ---------------------------------------------------------------

  const dialogs = new Map(); // handle -> { element, owner }
  const controls = new Map(); // handle -> { kind, element, input, label }

  function makeWindow(caption, closeAction) {
    const element = document.createElement('div');
    element.className = 'window';
    element.setAttribute('role', 'dialog');
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

  function makeControl(handle, kind, align) {
    if (kind === 'button') {
      const button = document.createElement('button');
      button.type = 'button';
      button.addEventListener('click', () => {
        userActed();
        if (state === 'launcher' && button.textContent === 'Launch') setStatus('Loading the show…');
        Module._kvorPageClicked(handle);
      });
      return { kind, element: button, input: button, label: button };
    }
    if (kind === 'check') {
      const label = document.createElement('label');
      const input = document.createElement('input');
      input.type = 'checkbox';
      const text = document.createElement('span');
      label.append(input, text);
      input.addEventListener('change', () => Module._kvorPageToggled(handle, input.checked ? 1 : 0));
      return { kind, element: label, input, label: text };
    }
    if (kind === 'select') {
      const select = document.createElement('select');
      select.addEventListener('change', () => Module._kvorPageSelected(handle, select.selectedIndex));
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

  function topDialog() {
    let top = null;
    for (const [handle, dialog] of dialogs) if (!dialog.element.hidden) top = handle;
    return top;
  }

  // A dialog's owner takes no input while the dialog is open.
  function setOwnerEnabled(owner, enabled) {
    const dialog = dialogs.get(owner);
    if (dialog) dialog.element.inert = !enabled;
  }

  function removeDialog(handle) {
    const dialog = dialogs.get(handle);
    if (!dialog) return;
    for (const [control, shown] of controls)
      if (dialog.element.contains(shown.element)) controls.delete(control);
    dialog.element.remove();
    dialogs.delete(handle);
    setOwnerEnabled(dialog.owner, true);
  }

  const dialogPage = {
    measureDialogFont(points) {
      const context = document.createElement('canvas').getContext('2d');
      context.font = `${points}pt "MS Sans Serif", sans-serif`;
      const metrics = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
      const height = Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent);
      return Math.round(metrics.width) * 65536 + height;
    },

    showDialog(handle, owner, caption, width, height, closable) {
      const { element, client } = makeWindow(caption, closable ? () => Module._kvorPageClose(handle) : null);
      client.style.width = `${width}px`;
      client.style.height = `${height}px`;
      element.dataset.handle = handle;
      dialogs.set(handle, { element, owner });
      setOwnerEnabled(owner, false);
      $('dialogs').append(element);
      if (state === 'loading') {
        state = 'launcher';
        setStatus('Choose a display driver and press Launch.');
      }
      page.launcherShownAt = page.launcherShownAt ?? performance.now();
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
      dialogs.get(dialog).element.querySelector('.client').append(control.element);
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
      const dialog = dialogs.get(handle);
      if (!dialog) return;
      dialog.element.hidden = true;
      setOwnerEnabled(dialog.owner, true);
    },

    closeDialog: removeDialog,
  };

  // ---- Message boxes and the file picker --------------------------------------

  const errorIcon = 0x10;

  // Resolves when OK is pressed (or Enter, or Escape).
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
      const ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      client.append(body, ok);
      element.answer = () => {
        element.remove();
        resolve();
      };
      ok.addEventListener('click', element.answer);
      $('boxes').append(element);
      page.messageBoxes.push({ caption, text });
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

  function keyPressed(event) {
    if (event.key !== 'Escape' && event.key !== 'Enter') return;
    const box = $('boxes').lastElementChild;
    if (box) {
      event.preventDefault();
      event.stopImmediatePropagation();
      box.answer();
      return;
    }
    const dialog = topDialog();
    if (event.key === 'Escape' && state === 'launcher' && dialog !== null) {
      event.preventDefault();
      event.stopImmediatePropagation();
      Module._kvorPageEscape(dialog);
    }
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
      if (this.soundAllowed) return;
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

    quit() {
      this.condition = 'closed';
      music.pause();
      this.show();
    },

    show() {
      $('player-state').textContent = this.condition;
      $('player-volume').textContent = music.volume.toFixed(2);
      const length = Number.isFinite(music.duration) ? ` / ${clock(music.duration)}` : '';
      $('player-position').textContent = `${clock(music.currentTime)}${length}`;
    },
  };

  // ---- The show and its end ------------------------------------------------

  const keptFrames = new Map(); // frame number -> PNG data URL, for frames asked for

  function presented(frame) {
    if (keptFrames.has(frame)) keptFrames.set(frame, display().framePNG());
    if (state === 'launcher') {
      state = 'show';
      $('dialogs').hidden = true;
      $('save-frame').disabled = false;
      $('canvas').focus();
    }
    if (frame % 30 === 0) setStatus(`Playing: frame ${frame}. Escape ends the show.`);
  }

  function held() {
    state = 'held';
    player.pause();
    setStatus(`Held after frame ${stopAt}, as ?stop=${stopAt} asks.`);
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
    $('dialogs').hidden = true;
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
    state = 'ended';
    player.quit();
    $('ending-text').textContent = `kvor stopped: ${reason}.`;
    $('ending').hidden = false;
    setStatus('kvor stopped.');
  }

  // ---- The page's interfaces ---------------------------------------------------

  const page = {
    ...dialogPage,
    messageBox,
    chooseFile,
    player,
    messageBoxes: [], // every box shown: { caption, text }
    launcherShownAt: null, // milliseconds after the page's start
  };

  window.Module = {
    canvas: $('canvas'),
    arguments: [],
    kvorPage: page,
    // The display side fills in the rest when kvor.js loads.
    kvorDisplay: {
      ...(Number.isInteger(stopAt) && stopAt >= 0 ? { stopAt } : {}),
      onPresent: presented,
      onHeld: held,
    },
    onRuntimeInitialized() {
      logPath = `${Module.FS.cwd().replace(/\/$/, '')}/${logName}`;
      $('download-log').disabled = false;
    },
    onExit: ended,
    onAbort: aborted,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
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
    log: logText,
    framePNG: () => (display() ? display().framePNG() : null),
    // Keeps the PNG of each of these frames (numbered from 0) as it is
    // presented, to be read with keptFrame(n) later.
    keepFrames(numbers) {
      for (const number of numbers) keptFrames.set(number, null);
    },
    keptFrame: (number) => keptFrames.get(number) ?? null,
    get player() {
      return {
        track: $('player-track').textContent,
        condition: player.condition,
        volume: music.volume,
        position: music.currentTime,
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

  document.addEventListener('keydown', keyPressed, true);
  $('fullscreen').addEventListener('click', toggleFullScreen);
  $('save-frame').addEventListener('click', saveFrame);
  $('download-log').addEventListener('click', downloadLog);
  $('restart').addEventListener('click', () => location.reload());
  for (const change of ['timeupdate', 'durationchange', 'volumechange', 'play', 'pause'])
    music.addEventListener(change, () => player.show());
  new ResizeObserver(fitCanvas).observe($('stage'));
  player.show();
})();
