// bannerplayer.js: the Quillbeam banner, played by the page. With <script src="bannerplayer.js">
// in the page, each object or embed showing bannerloop2.swf (or Ruffle's copy of one) becomes a
// link that types the messages of the movie's folder over its picture, by the movie's rules.
// Screen readers read a message whole, as the link's text; no live region interrupts them.
(function () {
  'use strict';

  // Generated at build time from the headers the movie's generator reads.
  const FACTS = /*@banner-facts@*/ null;

  // The rules, which the tests load.

  // A variable file's values, by the movie's markers, each after the one before: the address ends
  // where the comment lines begin, the message at the end. Null for text not laid out so.
  function readFile(text) {
    const m = FACTS.markers;
    const speedAt = text.indexOf(m.speed);
    const urlAt = text.indexOf(m.url, speedAt);
    const urlEnd = text.indexOf(m.urlEnd, urlAt);
    const messageAt = text.indexOf(m.message, urlEnd);
    if (speedAt < 0 || urlAt < 0 || urlEnd < 0 || messageAt < 0) return null;
    const speedFrom = speedAt + m.speed.length;
    const speed = Number(text.substring(speedFrom, text.indexOf(m.valueEnd, speedFrom)));
    return {
      speed: speed > 0 ? speed : FACTS.defaultSpeed,
      url: text.substring(urlAt + m.url.length, urlEnd),
      message: text.slice(messageAt + m.message.length).split(FACTS.lineBreak).join('\n'),
    };
  }

  const isBlank = (text) => /^[ \t\r\n]*$/.test(text);

  const TEXT_HEIGHT = FACTS.area.bottom - FACTS.area.top - 2 * FACTS.gutter;
  const rowsAt = (size) => Math.floor(TEXT_HEIGHT / (size * FACTS.lineHeight));

  // The step of the ladder of sizes for a message of linesAt(step) lines: the largest size showing
  // all of it, else the smallest.
  function fitStep(linesAt) {
    let step = 0;
    while (step < FACTS.sizes.length - 1 && linesAt(step) > rowsAt(FACTS.sizes[step])) ++step;
    return step;
  }

  // Long enough to read the letters shown (the share by lines, when it scrolled), or the shortest.
  function holdTime(letters, lines, rows) {
    const share = lines > rows ? rows / lines : 1;
    return Math.max(FACTS.shortestHold, FACTS.readingPerLetter * letters * share);
  }

  // Where a click goes: the address resolved as the page resolves links, if that is a web or mail
  // address; null for none and for anything else, however written (javascript:, data:, file:).
  function linkAddress(address, base) {
    try {
      const url = new URL(address, base);
      return address.trim() && ['http:', 'https:', 'mailto:'].includes(url.protocol) ? url.href : null;
    } catch {
      return null;
    }
  }

  // Whether the picture (the stage's RGBA) is light under a message of textWidth by textHeight: the
  // mean luma of every sampleStep-th pixel each way is over the threshold.
  function isLightPicture(pixels, textWidth, textHeight) {
    const left = FACTS.area.left + FACTS.gutter;
    const top = FACTS.area.top + FACTS.gutter;
    const [red, green, blue] = FACTS.weights;
    let luma = 0;
    let samples = 0;
    for (let y = top; y < top + Math.min(textHeight, TEXT_HEIGHT); y += FACTS.sampleStep) {
      for (let x = left; x < left + textWidth; x += FACTS.sampleStep, ++samples) {
        const i = 4 * (y * FACTS.stageWidth + x);
        luma += pixels[i] * red + pixels[i + 1] * green + pixels[i + 2] * blue;
      }
    }
    return luma > samples * FACTS.lightLuma;
  }

  if (typeof document === 'undefined') {
    if (typeof module === 'object' && module) {
      module.exports = { FACTS, readFile, isBlank, rowsAt, fitStep, holdTime, linkAddress, isLightPicture };
    }
    return;
  }

  // The banner in the page.

  const W = FACTS.stageWidth;
  const H = FACTS.stageHeight;
  const { left: LEFT, right: RIGHT } = FACTS.area;
  // Fonts narrower than the movie's as Ruffle draws it, spaced by a fiftieth of their size: so,
  // DejaVu Sans Condensed breaks messages into Ruffle's lines; Arial and Helvetica into no more.
  const FONT = 'font-family:Arial,"Liberation Sans",Helvetica,"DejaVu Sans Condensed",sans-serif;' +
    'letter-spacing:.02em';

  // An element of the banner, styled from the initial style up, whatever the page's style says (but
  // shown, hidden and pointed at as the element holding it).
  function make(tag, css, parent) {
    const element = parent.appendChild(document.createElement(tag));
    element.style.cssText = `all:initial;visibility:inherit;cursor:inherit;${css}`;
    return element;
  }

  // The address of the movie an object or embed (or Ruffle's copy of one) shows, if it is ours.
  function bannerMovie(element) {
    const embed = element.localName.endsWith('embed');
    const source = element.getAttribute(embed ? 'src' : 'data') ||
      (!embed && element.querySelector(':scope>param[name=movie i]')?.getAttribute('value'));
    try {
      const url = new URL(source, document.baseURI);
      return source && url.pathname.split('/').pop().toLowerCase() === FACTS.movie ? url : null;
    } catch {
      return null;
    }
  }

  // A banner in the place of `original`, reading the files beside `movie`. Returns its link.
  function play(original, movie) {
    let file = 0;
    let blanks = 0;
    let message = '';
    let pixels = null;
    let lineHeight, lineCount, rows, textWidth;

    // The link takes the element's place, size (in pixels, else the stage's) and id, class and style;
    // the stage fills it as the movie's does, centred, in proportion.
    const link = document.createElement('a');
    for (const name of ['id', 'class', 'style']) {
      if (original.hasAttribute(name)) link.setAttribute(name, original.getAttribute(name));
    }
    const [width, height] = [['width', W], ['height', H]].map(([name, stage]) => {
      const value = original.getAttribute(name);
      return /^\s*[\d.]+(px)?\s*$/.test(value) ? parseFloat(value) : stage;
    });
    const style = getComputedStyle(original);
    Object.assign(link.style, {
      display: style.display === 'block' ? 'block' : 'inline-block',
      position: style.position === 'static' ? 'relative' : style.position,
      verticalAlign: style.verticalAlign,
      cssFloat: style.cssFloat,
      overflow: 'hidden',
      padding: 0,
      width: `${width}px`,
      height: `${height}px`,
    });
    const scale = Math.min(width / W, height / H);
    const stage = make('span', `position:absolute;width:${W}px;height:${H}px;overflow:hidden;` +
      `left:${(width - W * scale) / 2}px;top:${(height - H * scale) / 2}px;` +
      `transform:scale(${scale});transform-origin:0 0`, link);

    // Until the picture comes, and if it never does, the page shows through.
    const picture = make('img', 'position:absolute', stage);
    picture.alt = '';
    picture.loading = 'lazy';
    picture.onload = readPicture;
    picture.onerror = () => picture.remove();
    picture.src = new URL(FACTS.picture, movie).href;

    const area = make('span', `position:absolute;overflow:hidden;left:${LEFT}px;` +
      `top:${FACTS.area.top + FACTS.gutter}px;width:${RIGHT - LEFT}px;height:${TEXT_HEIGHT}px`, stage);
    area.setAttribute('aria-hidden', 'true');
    const lines = make('span', `display:block;position:relative;margin-left:${FACTS.gutter}px;` +
      `width:${RIGHT - LEFT - 2 * FACTS.gutter}px;white-space:pre-wrap;overflow-wrap:break-word;` +
      `direction:ltr;${FONT};-webkit-text-size-adjust:none`, area);
    const text = lines.appendChild(document.createTextNode(''));
    // The caret: a light bar on a dark rim after the last letter, as tall as its line.
    const caret = make('span', 'display:inline-block;position:relative;vertical-align:top', lines);
    const bar = make('span', 'position:absolute;width:2px', caret);
    const showCaret = (shown) => (caret.style.visibility = shown ? 'inherit' : 'hidden');
    // What screen readers read: the whole message.
    const spoken = make('span', 'position:absolute;clip-path:inset(50%)', link)
      .appendChild(document.createTextNode(''));
    setSize(0);
    setInk(false);

    // One timer: the next step, due from when the one before was due (as the movie's intervals
    // fire), or from now. While paused, no timer is set and the step keeps its time left.
    let task = null;
    let due = 0;
    let left = 0;
    let timer = 0;
    let stepping = false;
    let running = false;
    const pauses = new Set(['off screen']);
    const arm = () => {
      timer = setTimeout(() => {
        const current = task;
        task = null;
        stepping = true;
        current();
        stepping = false;
      }, Math.min(Math.max(0, due - performance.now()), 0x7fffffff));
    };
    function after(ms, next) {
      clearTimeout(timer);
      task = next;
      left = ms;
      due = (stepping ? due : performance.now()) + ms;
      if (task && running) arm();
    }
    function pause(reason, paused) {
      if (reason) pauses[paused ? 'add' : 'delete'](reason);
      if (running === (pauses.size === 0 && !document.hidden)) return;
      running = !running;
      if (!task) return;
      if (running) {
        due = performance.now() + left;
        arm();
      } else {
        clearTimeout(timer);
        left = Math.max(0, due - performance.now());
      }
    }
    link.addEventListener('mouseenter', () => pause('pointer', true));
    link.addEventListener('mouseleave', () => pause('pointer', false));
    // Keyboard focus only: a click focuses the link too, and must not keep the banner still.
    link.addEventListener('focus', () => pause('focus', link.matches(':focus-visible')));
    link.addEventListener('blur', () => pause('focus', false));
    document.addEventListener('visibilitychange', () => pause());
    new IntersectionObserver((entries) => pause('off screen', !entries.pop().isIntersecting))
      .observe(link);
    after(0, nextFile);

    // Reads the files in turn, round and round. One missing, unreadable or not read within the
    // movie's wait counts as blank.
    function nextFile() {
      file = (file % FACTS.files.length) + 1;
      const giveUp = new AbortController();
      after(FACTS.fileWait, () => giveUp.abort());
      fetch(new URL(FACTS.files[file - 1], movie), { signal: giveUp.signal })
        .then((response) => (response.ok ? response.arrayBuffer() : null))
        .then((bytes) => bytes && readFile(new TextDecoder('windows-1252').decode(bytes)))
        .catch(() => null)
        .then(read);
    }

    // A blank message is passed over at once; after four in a row the banner rests on its picture.
    function read(values) {
      if (values) {
        const href = linkAddress(values.url, document.baseURI);
        if (href) Object.assign(link, { href, target: '_blank', rel: 'noopener noreferrer' });
        else link.removeAttribute('href');
      }
      if (values && !isBlank(values.message)) {
        blanks = 0;
        start(values);
      } else if (++blanks < FACTS.files.length) {
        after(0, nextFile);
      } else {
        after(0, null);
        message = text.data = spoken.data = '';
        showCaret(false);
      }
    }

    // Lays the whole message out at each size until it fits, takes the ink for the picture under it,
    // and types it (for less motion, shows it whole), then holds it.
    function start(values) {
      message = spoken.data = text.data = values.message;
      lines.style.transform = '';
      const linesAt = (step) => {
        setSize(step);
        return Math.round(lines.offsetHeight / lineHeight);
      };
      const step = fitStep(linesAt);
      lineCount = linesAt(step);
      rows = rowsAt(FACTS.sizes[step]);
      const range = document.createRange();
      range.selectNodeContents(text);
      const from = lines.getBoundingClientRect().left;
      textWidth = Math.max(0, ...[...range.getClientRects()].map((rect) => rect.right - from)) / scale;
      chooseInk();
      showCaret(true);
      if (matchMedia('(prefers-reduced-motion: reduce)').matches) {
        follow();
        return hold(true);
      }
      text.data = '';
      const typeNext = () => {
        if (text.length === message.length) return hold(false);
        text.appendData(message[text.length]);
        if (lineCount > rows) follow();
        after(values.speed, typeNext);
      };
      after(values.speed, typeNext);
    }

    // Scrolls a long message up a line at a time, so that the line being typed is the lowest.
    function follow() {
      const hidden = Math.max(0, Math.round(caret.offsetTop / lineHeight) - rows + 1);
      lines.style.transform = `translateY(${-hidden * lineHeight}px)`;
    }

    // Holds the finished message, the caret blinking (hidden first) unless `still`, then goes on.
    function hold(still) {
      const ms = holdTime(message.length, lineCount, rows);
      const blinkFrom = (at) => {
        const to = still ? ms : Math.min(at + FACTS.blink, ms);
        after(to - at, () => {
          if (to === ms) return nextFile();
          showCaret(caret.style.visibility === 'hidden');
          blinkFrom(to);
        });
      };
      blinkFrom(0);
    }

    function setSize(step) {
      const size = FACTS.sizes[step];
      const scaled = (value) => (value * size) / FACTS.sizes[0];
      lineHeight = size * FACTS.lineHeight;
      Object.assign(lines.style, { fontSize: `${size}px`, lineHeight: `${lineHeight}px` });
      caret.style.height = `${lineHeight}px`;
      // The bar is placed from the text area's edge, the line from its letters.
      bar.style.top = `${scaled(FACTS.caretTop) - FACTS.gutter}px`;
      bar.style.height = `${scaled(FACTS.caretBottom - FACTS.caretTop)}px`;
    }

    // Keeps the picture's pixels for the ink. One the page may not read (from another site) leaves
    // the letters light, on their dark halo.
    function readPicture() {
      try {
        const canvas = Object.assign(document.createElement('canvas'), { width: W, height: H });
        const context = canvas.getContext('2d');
        context.drawImage(picture, 0, 0);
        pixels = context.getImageData(0, 0, W, H).data;
      } catch {
        pixels = null;
      }
      if (message) chooseInk();
    }

    function chooseInk() {
      setInk(!!pixels && isLightPicture(pixels, textWidth, lineCount * lineHeight));
    }

    // Light letters on a dark halo, or dark ones on a light halo over a light picture.
    function setInk(light) {
      const [ink, halo] = light ? [FACTS.darkInk, FACTS.lightInk] : [FACTS.lightInk, FACTS.darkInk];
      lines.style.color = ink;
      const around = [-1, 0, 1].flatMap((x) => [-1, 0, 1].map((y) => `${x}px ${y}px ${halo}`));
      lines.style.textShadow = around.join();
      Object.assign(bar.style, { background: ink, boxShadow: `0 0 0 1px ${halo}` });
    }

    return link;
  }

  // Each banner movie in the page, now and whenever the page changes, becomes a banner: the outermost
  // element of one (an embed in an object is the same banner), or the element Ruffle put in its
  // place. Whichever script comes first, this player plays the banner and Ruffle does not.
  function replaceMovies() {
    for (const element of document.querySelectorAll('object,embed,ruffle-object,ruffle-embed')) {
      const movie = element.isConnected && bannerMovie(element);
      if (movie) element.replaceWith(play(element, movie));
    }
  }
  replaceMovies();
  new MutationObserver(replaceMovies).observe(document, { childList: true, subtree: true });
})();
