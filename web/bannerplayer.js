// bannerplayer.js: shows the Quillbeam banner in the page itself, without Flash.
//
// Put it beside the package's files and add <script src="bannerplayer.js"></script> anywhere in
// the page. Every object or embed whose movie is bannerloop2.swf (and every ruffle-object or
// ruffle-embed Ruffle made of one) becomes the banner, at its size and place: a link that types the
// messages of mytext1.txt to mytext4.txt, read from the movie's folder, over the movie's picture,
// as the movie does, by the same rules.
//
// For every visitor: the letters are text in the page, which find-in-page and translation reach;
// the letters being typed are hidden from screen readers, which read the whole message once, as the
// link's text (a copy beside the letters), when they come to it, and are not interrupted at every
// message (no live region: the banner changes every few seconds for as long as the page is open).
// The banner holds still while the pointer is over it or it has the focus, and does nothing at all
// while it is off screen or the tab is hidden. Where the visitor asks for less motion, each message
// shows whole at once, and the caret does not blink.
//
// Messages are only ever text, and a click opens only a web or mail address.
(function () {
    'use strict';

    // The banner's facts, generated at build time from the headers the movie's generator reads:
    // the package's files and the markers of a variable file, the stage and the text area, the
    // sizes and their line height, the caret, the inks, the picture reading rule and the hold.
    const FACTS = /*@banner-facts@*/ null;

    // ---- The rules, also for the tests ----------------------------------------------------------

    // A variable file's speed, address and message, by the markers the movie reads it by, each
    // searched for after the one before: the address ends where the comment lines begin, and the
    // message runs to the end of the file, each line break one new line. Null when the text is not
    // laid out as a variable file. A speed that is not a positive number is the default.
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

    // The text's height on the stage, and how many lines of a size it shows.
    const TEXT_HEIGHT = FACTS.area.bottom - FACTS.area.top - 2 * FACTS.gutter;
    const rowsAt = (size) => Math.floor(TEXT_HEIGHT / (size * FACTS.lineHeight));

    // The step of the ladder of sizes a message takes, given how many lines it takes at a step:
    // the largest size at which all of it shows, else the smallest.
    function fitStep(linesAt) {
        let step = 0;
        while (step < FACTS.sizes.length - 1 && linesAt(step) > rowsAt(FACTS.sizes[step])) ++step;
        return step;
    }

    // How long a finished message stays: its letters on the banner read at the reading pace (its
    // share of them by lines when it scrolled), and never less than the shortest hold.
    function holdTime(letters, lines, rows) {
        const share = lines > rows ? rows / lines : 1;
        return Math.max(FACTS.shortestHold, FACTS.readingPerLetter * letters * share);
    }

    // Where a click on the banner goes: the file's address resolved as the page resolves a link,
    // when that is a web or mail address; null for none and for anything else (javascript:, data:,
    // file: and the like, however written: the scheme is judged once the address is resolved).
    function linkAddress(address, base) {
        if (!address.trim()) return null;
        let url;
        try {
            url = new URL(address, base);
        } catch (error) {
            return null;
        }
        return ['http:', 'https:', 'mailto:'].includes(url.protocol) ? url.href : null;
    }

    // Whether the picture is light under a message laid out textWidth by textHeight pixels: its
    // mean luma, read at every sampleStep-th pixel each way from the text's top left corner, is
    // over the threshold. pixels: the stage's RGBA, row by row.
    function isLightPicture(pixels, textWidth, textHeight) {
        const left = FACTS.area.left + FACTS.gutter;
        const top = FACTS.area.top + FACTS.gutter;
        const right = left + textWidth;
        const bottom = top + Math.min(textHeight, TEXT_HEIGHT);
        const [red, green, blue] = FACTS.weights;
        let luma = 0;
        let samples = 0;
        for (let y = top; y < bottom; y += FACTS.sampleStep) {
            for (let x = left; x < right; x += FACTS.sampleStep) {
                const i = 4 * (y * FACTS.stageWidth + x);
                luma += pixels[i] * red + pixels[i + 1] * green + pixels[i + 2] * blue;
                ++samples;
            }
        }
        return luma > samples * FACTS.lightLuma;
    }

    if (typeof document === 'undefined') {
        // Loaded by the tests, outside a page.
        if (typeof module === 'object' && module) {
            module.exports = { FACTS, readFile, isBlank, rowsAt, fitStep, holdTime, linkAddress, isLightPicture };
        }
        return;
    }

    // ---- The banner in the page -----------------------------------------------------------------

    const W = FACTS.stageWidth;
    const H = FACTS.stageHeight;
    // The movie's device font as its player draws it is Noto Sans. Where that is missing, these
    // are as wide or a little narrower, so that a message takes the movie's size or a larger one.
    const FONTS = '"Noto Sans",Arial,"Liberation Sans",Helvetica,"DejaVu Sans Condensed",sans-serif';
    // Every element of the banner starts from the initial style, whatever the page's style sheets
    // say of links, spans and pictures.
    const RESET = 'all:initial;cursor:inherit;';
    const ELEMENTS = 'object,embed,ruffle-object,ruffle-embed';

    function make(tag, css, parent) {
        const element = document.createElement(tag);
        element.style.cssText = RESET + css;
        parent.appendChild(element);
        return element;
    }

    // The address of the movie an object or embed shows (or the ruffle-object or ruffle-embed
    // Ruffle made of it, which keeps its attributes and params), when that is the banner movie.
    function bannerMovie(element) {
        const embed = element.localName.endsWith('embed');
        let source = element.getAttribute(embed ? 'src' : 'data');
        if (!embed && !source) {
            const param = [...element.children].find(
                (child) => child.localName === 'param' && /^movie$/i.test(child.getAttribute('name')));
            source = param && param.getAttribute('value');
        }
        if (!source) return null;
        try {
            const url = new URL(source, document.baseURI);
            return url.pathname.split('/').pop().toLowerCase() === FACTS.movie.toLowerCase() ? url : null;
        } catch (error) {
            return null;
        }
    }

    // A size of the element's, as CSS: a number is pixels.
    const dimension = (value, fallback) =>
        /^\s*\d+(\.\d+)?\s*$/.test(value || '') ? `${parseFloat(value)}px` : value || `${fallback}px`;

    // The banner's one timer: its next step, and when that is due. Steps follow each other on the
    // times they were due, not on when the page ran them, as the movie's intervals do. While the
    // banner is paused no timer is set, and the step keeps the time it has left.
    class Steps {
        constructor() {
            this.task = null;
            this.due = 0;
            this.left = 0;
            this.timer = 0;
            this.running = false;
            this.inStep = false;
        }

        after(ms, task) {
            clearTimeout(this.timer);
            this.task = task;
            this.left = ms;
            if (this.running) this.arm((this.inStep ? this.due : performance.now()) + ms);
        }

        arm(due) {
            this.due = due;
            // Browsers run a timer longer than this at once.
            const wait = Math.min(Math.max(0, due - performance.now()), 0x7fffffff);
            this.timer = setTimeout(() => {
                const task = this.task;
                this.task = null;
                this.inStep = true;
                try {
                    task();
                } finally {
                    this.inStep = false;
                }
            }, wait);
        }

        stop() {
            clearTimeout(this.timer);
            this.task = null;
        }

        run(running) {
            if (running === this.running) return;
            this.running = running;
            if (!this.task) return;
            if (running) {
                this.arm(performance.now() + this.left);
            } else {
                clearTimeout(this.timer);
                this.left = Math.max(0, this.due - performance.now());
            }
        }
    }

    class Banner {
        constructor(original, movie) {
            this.movie = movie;
            this.file = 0;
            this.blanks = 0;
            this.message = '';
            this.pixels = null;
            this.steps = new Steps();
            this.pauses = { offScreen: true, pointer: false, focus: false };

            // The link takes the element's place and size at once, and what the page's style says
            // of the element by its id, class and style.
            const link = (this.link = document.createElement('a'));
            for (const name of ['id', 'class', 'style']) {
                if (original.hasAttribute(name)) link.setAttribute(name, original.getAttribute(name));
            }
            const style = getComputedStyle(original);
            const width = dimension(original.getAttribute('width'), W);
            const height = dimension(original.getAttribute('height'), H);
            Object.assign(link.style, {
                display: style.display === 'block' ? 'block' : 'inline-block',
                position: style.position === 'static' ? 'relative' : style.position,
                overflow: 'hidden',
                width,
                height,
                verticalAlign: style.verticalAlign,
                cssFloat: style.cssFloat,
                padding: '0',
                textDecoration: 'none',
            });
            // The stage fills a box of pixels as the movie's does, centred at its own proportions.
            const pixels = width.endsWith('px') && height.endsWith('px');
            const scale = (pixels && Math.min(parseFloat(width) / W, parseFloat(height) / H)) || 1;
            const stage = make('span', `position:absolute;width:${W}px;height:${H}px;overflow:hidden;` +
                `left:calc((100% - ${W * scale}px)/2);top:calc((100% - ${H * scale}px)/2);` +
                `transform:scale(${scale});transform-origin:0 0`, link);
            this.scale = scale;

            // Until the picture comes, and if it never does, the page shows through.
            const picture = make('img', 'position:absolute;left:0;top:0', stage);
            picture.alt = '';
            picture.loading = 'lazy';
            picture.onload = () => this.readPicture(picture);
            picture.onerror = () => picture.remove();
            picture.src = new URL(FACTS.picture, movie).href;

            const area = make('span', `position:absolute;overflow:hidden;left:${FACTS.area.left}px;` +
                `top:${FACTS.area.top + FACTS.gutter}px;width:${FACTS.area.right - FACTS.area.left}px;` +
                `height:${TEXT_HEIGHT}px`, stage);
            area.setAttribute('aria-hidden', 'true');
            this.lines = make('span', `display:block;position:relative;margin-left:${FACTS.gutter}px;` +
                `width:${FACTS.area.right - FACTS.area.left - 2 * FACTS.gutter}px;white-space:pre-wrap;` +
                `overflow-wrap:break-word;text-align:left;direction:ltr;font-family:${FONTS};` +
                'text-size-adjust:none;-webkit-text-size-adjust:none', area);
            this.text = document.createTextNode('');
            this.lines.appendChild(this.text);
            // The caret: a light bar on a dark rim, standing after the last letter, its own line tall.
            this.caret = make('span', 'display:inline-block;position:relative;width:0;vertical-align:top', this.lines);
            this.bar = make('span', 'position:absolute;left:0;width:2px', this.caret);
            // What screen readers read: the whole message, as the link's text.
            this.spoken = document.createTextNode('');
            make('span', 'position:absolute;width:1px;height:1px;overflow:hidden;clip-path:inset(50%);' +
                'white-space:nowrap', link).appendChild(this.spoken);
            this.setSize(0);
            this.setInk(false);

            link.addEventListener('mouseenter', () => this.pause('pointer', true));
            link.addEventListener('mouseleave', () => this.pause('pointer', false));
            link.addEventListener('focus', () => this.pause('focus', true));
            link.addEventListener('blur', () => this.pause('focus', false));
            document.addEventListener('visibilitychange', () => this.pause());
            new IntersectionObserver((entries) => this.pause('offScreen', !entries.pop().isIntersecting))
                .observe(link);
            this.steps.after(0, () => this.nextFile());
        }

        // The banner moves only while it is on screen, in a tab being shown, and neither pointed at
        // nor focused.
        pause(reason, paused) {
            if (reason) this.pauses[reason] = paused;
            const { offScreen, pointer, focus } = this.pauses;
            this.steps.run(!(offScreen || pointer || focus || document.hidden));
        }

        // Reads the next variable file, 1 to 4 and round again. One not there, or not read within
        // the movie's wait, is passed over as a blank one.
        nextFile() {
            this.file = (this.file % FACTS.files.length) + 1;
            const giveUp = new AbortController();
            this.steps.after(FACTS.fileWait, () => giveUp.abort());
            fetch(new URL(FACTS.files[this.file - 1], this.movie), { signal: giveUp.signal })
                .then((response) => (response.ok ? response.arrayBuffer() : null))
                .then((bytes) => bytes && readFile(new TextDecoder('windows-1252').decode(bytes)))
                .catch(() => null)
                .then((values) => this.read(values));
        }

        // Blank messages are passed over at once; after four in a row the banner rests on its
        // picture and reads no more.
        read(values) {
            if (values) this.setAddress(values.url);
            if (values && !isBlank(values.message)) {
                this.blanks = 0;
                this.start(values);
            } else if (++this.blanks < FACTS.files.length) {
                this.steps.after(0, () => this.nextFile());
            } else {
                this.steps.stop();
                this.message = this.text.data = this.spoken.data = '';
                this.showCaret(false);
            }
        }

        setAddress(address) {
            const href = linkAddress(address, document.baseURI);
            if (href) {
                Object.assign(this.link, { href, target: '_blank', rel: 'noopener noreferrer' });
            } else {
                this.link.removeAttribute('href');
            }
        }

        // Lays the whole message out at each size until it fits, takes the ink for the picture
        // under it, and types it from the start (or, for less motion, shows it whole and holds it).
        start({ speed, message }) {
            this.message = this.spoken.data = message;
            this.lines.style.transform = '';
            this.text.data = message;
            const linesAt = (step) => {
                this.setSize(step);
                return Math.round(this.lines.offsetHeight / this.lineHeight);
            };
            const step = fitStep(linesAt);
            this.lineCount = linesAt(step);
            this.rows = rowsAt(FACTS.sizes[step]);
            const range = document.createRange();
            range.selectNodeContents(this.text);
            const left = this.lines.getBoundingClientRect().left;
            let right = left;
            for (const rect of range.getClientRects()) right = Math.max(right, rect.right);
            this.textWidth = (right - left) / this.scale;
            this.chooseInk();
            this.showCaret(true);
            if (matchMedia('(prefers-reduced-motion: reduce)').matches) {
                this.follow();
                this.hold(true);
                return;
            }
            this.text.data = '';
            const typeNext = () => {
                if (this.text.length === message.length) {
                    this.hold(false);
                    return;
                }
                this.text.appendData(message[this.text.length]);
                if (this.lineCount > this.rows) this.follow();
                this.steps.after(speed, typeNext);
            };
            this.steps.after(speed, typeNext);
        }

        // Scrolls a long message up a line at a time, so that the line being typed is the lowest.
        follow() {
            const line = Math.round(this.caret.offsetTop / this.lineHeight);
            const hidden = Math.max(0, line - this.rows + 1);
            this.lines.style.transform = `translateY(${-hidden * this.lineHeight}px)`;
        }

        // Holds the finished message, the caret blinking (first off) unless `still`, then goes on.
        hold(still) {
            const ms = holdTime(this.message.length, this.lineCount, this.rows);
            let at = 0;
            const next = () => {
                const blink = still ? Infinity : (Math.floor(at / FACTS.blink) + 1) * FACTS.blink;
                const to = Math.min(blink, ms);
                this.steps.after(to - at, () => {
                    at = to;
                    if (to === ms) {
                        this.nextFile();
                    } else {
                        this.showCaret(this.caret.style.visibility === 'hidden');
                        next();
                    }
                });
            };
            next();
        }

        setSize(step) {
            const size = FACTS.sizes[step];
            const scale = size / FACTS.sizes[0];
            this.lineHeight = size * FACTS.lineHeight;
            Object.assign(this.lines.style, { fontSize: `${size}px`, lineHeight: `${this.lineHeight}px` });
            this.caret.style.height = `${this.lineHeight}px`;
            Object.assign(this.bar.style, {
                top: `${FACTS.caretTop * scale - FACTS.gutter}px`,
                height: `${(FACTS.caretBottom - FACTS.caretTop) * scale}px`,
            });
        }

        showCaret(shown) {
            this.caret.style.visibility = shown ? 'visible' : 'hidden';
        }

        // Keeps the picture's pixels to choose the ink by; a picture the page may not read (from
        // another site) leaves the letters light, on their dark halo.
        readPicture(picture) {
            try {
                const canvas = document.createElement('canvas');
                canvas.width = W;
                canvas.height = H;
                const context = canvas.getContext('2d');
                context.drawImage(picture, 0, 0);
                this.pixels = context.getImageData(0, 0, W, H).data;
            } catch (error) {
                this.pixels = null;
            }
            if (this.message) this.chooseInk();
        }

        chooseInk() {
            const textHeight = this.lineCount * this.lineHeight;
            this.setInk(!!this.pixels && isLightPicture(this.pixels, this.textWidth, textHeight));
        }

        // Light letters on a dark halo, or dark on a light one over a light picture.
        setInk(light) {
            const ink = light ? FACTS.darkInk : FACTS.lightInk;
            const halo = light ? FACTS.lightInk : FACTS.darkInk;
            const around = [-1, 0, 1].flatMap((x) => [-1, 0, 1].map((y) => `${x}px ${y}px 0 ${halo}`));
            around.splice(4, 1);  // none under the letters themselves
            this.lines.style.color = ink;
            this.lines.style.textShadow = around.join(',');
            Object.assign(this.bar.style, { background: ink, boxShadow: `0 0 0 1px ${halo}` });
        }
    }

    // Each banner movie in the page, now and whenever the page changes (while it loads, and after),
    // becomes a banner; the outermost element of one, as an embed inside an object is the same
    // banner. Ruffle replaces such elements only with its own, which are taken over here too: so
    // whichever comes first, this player plays the banner and Ruffle does not.
    function replaceMovies() {
        for (const element of document.querySelectorAll(ELEMENTS)) {
            const movie = element.isConnected && bannerMovie(element);
            if (movie) element.replaceWith(new Banner(element, movie).link);
        }
    }
    replaceMovies();
    new MutationObserver(replaceMovies).observe(document, { childList: true, subtree: true });
})();
