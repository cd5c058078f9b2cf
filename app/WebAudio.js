// The page's audio starts suspended until the first user gesture. This resumes it then, as the
// runtime's own function does, except that a resume cut short by the program ending (its audio
// closes the context) is no error: a quick Escape would otherwise leave an uncaught rejection.
mergeInto(LibraryManager.library, {
  $autoResumeAudioContext: function(ctx, elements) {
    if (!elements) elements = [document, document.getElementById('canvas')];
    ['keydown', 'mousedown', 'touchstart'].forEach(function(event) {
      elements.forEach(function(element) {
        if (!element) return;
        element.addEventListener(event, function() {
          if (ctx.state === 'suspended') ctx.resume().catch(function() {});
        }, {once: true});
      });
    });
  },
});
