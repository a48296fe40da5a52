// page
