// Starts the page's tool once the font and the module are loaded. With "?script" in the address
// the page waits for scripts/web-uiscenario to play a scenario instead.
'use strict';
(async () => {
  const tool = document.body.dataset.tool;
  const scripted = new URLSearchParams(location.search).has('script');
  if ('serviceWorker' in navigator && !scripted) navigator.serviceWorker.register('sw.js');
  try {
    await document.fonts.load('12px LxFont', '宋体');
  } catch (e) {
    // Without the font the windows still work, in the browser's own.
  }
  const module = await createLxModule();
  LxPage.attach(module);
  window.lxModule = module;
  window.lxReady = true;
  if (scripted) return;
  await module.ccall('lx_run', 'number', ['string'], [tool], {async: true});
  // The main window closed: the program has ended, as on the desktop; back to the choice of tools.
  location.href = 'index.html';
})();
