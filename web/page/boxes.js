// SPDX-License-Identifier: GPL-3.0-or-later
// Part of startPage (see main.js): the modal boxes.

// ---- boxes ----------------------------------------------------------------

function element(tag, properties) {
  return Object.assign(document.createElement(tag), properties);
}

// A modal box; resolves with what the player answered when it is closed:
// the text entered after OK, or '' after Abbrechen, Escape or closing.
function openBox(title, text, input) {
  return new Promise((resolve) => {
    const dialog = element('dialog');
    dialog.setAttribute('aria-labelledby', 'box-title');
    dialog.setAttribute('aria-describedby', 'box-text');
    const form = element('form', { method: 'dialog' });
    const ok = element('button', { type: 'submit', value: 'ok', textContent: design.okCaption });
    const buttons = element('div', { className: 'buttons' });
    buttons.append(ok);
    form.append(element('p', { id: 'box-text', textContent: text }));
    if (input !== undefined) {
      input.setAttribute('aria-labelledby', 'box-text');
      form.append(input);
      buttons.append(element('button', {
        type: 'submit', value: 'cancel', formNoValidate: true, textContent: design.cancelCaption,
      }));
    }
    form.append(buttons);
    dialog.append(element('h2', { id: 'box-title', textContent: title }), form);
    dialog.addEventListener('close', () => {
      const answer = dialog.returnValue === 'ok' && input !== undefined ? input.value : '';
      dialog.remove();
      resolve(answer);
    });
    document.body.append(dialog);
    dialog.showModal();
    if (input !== undefined) {
      input.focus();
      input.select();
    } else {
      ok.focus({ preventScroll: true });
    }
    // A box taller than the viewport opens at its title and first line; OK
    // has the focus all the same and is reached by scrolling.
    dialog.scrollTop = 0;
  });
}
