// The page around the program (appended to vexo.js): the right-button menu that the
// compiler's GLUT lacks, its mouse and key handling brought in line with the desktop's, and
// the end of the program, which a page cannot exit.
var vexoPage = (function () {
  var canvas = Module['canvas'];
  var menu = document.createElement('div');
  var menuButton = -1;
  menu.className = 'menu';
  menu.setAttribute('role', 'menu');
  menu.hidden = true;
  document.body.appendChild(menu);

  // A callback into the program, with exit()'s unwinding kept inside, as for GLUT's timers.
  function call(f) { callUserCallback(f); }

  function closeMenu() { menu.hidden = true; }
  function openMenu(event) {
    menu.style.left = event.pageX + 'px';
    menu.style.top = event.pageY + 'px';
    menu.hidden = false;
    var first = menu.querySelector('button');
    if (first) first.focus();
  }

  // Listeners on the window, in the capture phase, registered before GLUT's own: they see
  // each event first and may keep it from GLUT.
  var listeners = {
    mousedown: function (event) {
      if (!menu.hidden && !menu.contains(event.target)) closeMenu();
      if (event.button === menuButton && event.target === canvas) {
        event.stopImmediatePropagation();  // the menu's button never reaches the program
        event.preventDefault();
        openMenu(event);
      }
    },
    mouseup: function (event) {
      if (event.button === menuButton) event.stopImmediatePropagation();
    },
    mousemove: function (event) {
      // GLUT passes the position before the move: take over the drag's motion events.
      if (GLUT.buttons === 0) return;
      var x = Browser.mouseX, y = Browser.mouseY;
      Browser.calculateMouseEvent(event);
      if (Browser.mouseX === x && Browser.mouseY === y) return;
      event.preventDefault();
      GLUT.saveModifiers(event);
      call(function () { _webMotion(Browser.mouseX, Browser.mouseY); });
    },
    keydown: function (event) {
      if (menu.hidden || event.keyCode !== 27) return;
      event.stopImmediatePropagation();  // Escape closes the menu, it does not quit
      event.preventDefault();
      closeMenu();
      canvas.focus();
    },
    contextmenu: function (event) {
      if (event.target === canvas || menu.contains(event.target)) event.preventDefault();
    },
  };
  for (var type in listeners) window.addEventListener(type, listeners[type], true);

  // As on the desktop, Ctrl and Alt do not hide a key from the program: Ctrl turns a letter
  // into its control code, Alt leaves it as it is.
  var asciiKey = GLUT.getASCIIKey;
  GLUT.getASCIIKey = function (event) {
    var key = asciiKey({ keyCode: event.keyCode, shiftKey: event.shiftKey });
    var letter = key !== null && /^[A-Za-z]$/.test(String.fromCharCode(key));
    return letter && event.ctrlKey ? key & 31 : key;
  };
  // GLUT's own handlers call into the program directly; a quit there must not escape as an
  // error. glutInit registers them later, so the wrapped ones are those it registers.
  var glutHandlers = { keydown: 'onKeydown', keyup: 'onKeyup', mousedown: 'onMouseButtonDown',
                       mouseup: 'onMouseButtonUp' };
  Object.keys(glutHandlers).forEach(function (type) {
    var name = glutHandlers[type], handler = GLUT[name];
    GLUT[name] = function (event) { call(function () { handler(event); }); };
  });

  return {
    addMenuEntry: function (label, value) {
      var entry = document.createElement('button');
      entry.setAttribute('role', 'menuitem');
      entry.textContent = label;
      entry.addEventListener('click', function () {
        closeMenu();
        call(function () { _webMenuChoose(value); });
      });
      menu.appendChild(entry);
    },
    attachMenu: function (button) { menuButton = button; },
    ended: function () {
      closeMenu();
      for (var type in listeners) window.removeEventListener(type, listeners[type], true);
      Object.keys(glutHandlers).forEach(function (type) {
        window.removeEventListener(type, GLUT[glutHandlers[type]], true);
      });
      window.removeEventListener('mousemove', GLUT.onMousemove, true);
      if (Module['onEnded']) Module['onEnded']();
    },
  };
})();
