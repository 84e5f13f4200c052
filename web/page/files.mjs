// Files in and out of the page: a chosen file's bytes, and a download.
export function chooseFile(input) {
  return new Promise((resolve) => {
    input.value = '';
    input.onchange = async () => {
      const file = input.files[0];
      resolve(file ? { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) } : null);
    };
    input.click();
  });
}

export function download(name, bytes, type = 'application/octet-stream') {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
}

// radio-2026-12-08-044512.img, local time, as the desktop names backups.
export function backupName(when = new Date()) {
  const two = (n) => String(n).padStart(2, '0');
  return `radio-${when.getFullYear()}-${two(when.getMonth() + 1)}-${two(when.getDate())}-`
       + `${two(when.getHours())}${two(when.getMinutes())}${two(when.getSeconds())}.img`;
}
